// Versolo: starts behind its splash form and runs until its last form closes.
#include "AboutForm.h"
#include "DefaultForm.h"
#include "Form1.h"
#include "HandlerGuard.h"
#include "ImageShow.h"

#include <ole2.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (FAILED(OleInitialize(nullptr))) return 1;
    int code = 0;
    {
        glim::ComPtr<versolo::ImageShow> splash;
        if (glim::host::RunHandler([&] {
                splash = versolo::ImageShow::Create();
                splash->Show();
                splash->PrepareMainWindow();
            }))
            code = glim::host::HostForm::RunMessageLoop();
        else
            code = 1;
        // The splash went without a main window.
        if (splash && splash->StartFailed()) code = 1;
        splash.reset();
        glim::host::DefaultForm<versolo::AboutForm>::Reset();
        glim::host::DefaultForm<versolo::Form1>::Reset();
    }
    OleUninitialize();
    return code;
}
