// Versolo's pictures and icon, read back from a module that carries them.
#include "ResourceReader.h"
#include "VersoloResourceIds.h"

#include <gtest/gtest.h>

namespace {

using namespace skintest;

// Becomes "Versolo.exe"'s own module once the editor links the resources.
constexpr char kEditorModule[] = "glim_editor_testres.dll";

TEST(EditorArt, SplashAboutPicturesAndProgramIcon) {
    Module m(LoadLibraryA(kEditorModule));
    ASSERT_TRUE(m) << kEditorModule;
    struct Expect {
        int id, w, h;
    };
    for (Expect e : {Expect{versolo::res::kSplash, 500, 170}, Expect{versolo::res::kAboutBanner, 500, 170},
                     Expect{versolo::res::kAboutBadge, 64, 64}}) {
        const std::optional<Pixels> p = LoadBitmapPixels(m.get(), e.id);
        ASSERT_TRUE(p) << e.id;
        EXPECT_EQ(p->width, e.w);
        EXPECT_EQ(p->height, e.h);
        EXPECT_EQ(p->bits, 24);
    }
    EXPECT_FALSE(*LoadBitmapPixels(m.get(), versolo::res::kSplash) ==
                 *LoadBitmapPixels(m.get(), versolo::res::kAboutBanner));
    for (int size : {16, 32, 48}) {
        const std::optional<Pixels> icon = LoadIconPixels(m.get(), versolo::res::kIcon, IMAGE_ICON, size);
        ASSERT_TRUE(icon) << size;
        EXPECT_EQ(icon->width, size);
        // Drawn over most of its square, with transparent corners.
        size_t drawn = 0;
        for (BYTE a : icon->alpha)
            drawn += a ? 1 : 0;
        EXPECT_GT(drawn, icon->alpha.size() * 3 / 4) << size;
        EXPECT_EQ(icon->alpha[0], 0) << size;
    }
}

} // namespace
