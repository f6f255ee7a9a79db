#pragma once
// Resource identifiers of Versolo's own pictures.

#define VERSOLO_RES_ICON 1           // program icon, 16, 32 and 48 pixels
#define VERSOLO_RES_SPLASH 100       // ImageShow's splash, 500 x 170
#define VERSOLO_RES_ABOUT_BANNER 101 // the About form's 500 x 170 picture
#define VERSOLO_RES_ABOUT_BADGE 102  // the About form's second picture, 64 x 64

#ifndef RC_INVOKED
namespace versolo::res {
constexpr int kIcon = VERSOLO_RES_ICON;
constexpr int kSplash = VERSOLO_RES_SPLASH;
constexpr int kAboutBanner = VERSOLO_RES_ABOUT_BANNER;
constexpr int kAboutBadge = VERSOLO_RES_ABOUT_BADGE;
} // namespace versolo::res
#endif
