// The uninstaller's application object: its InitInstance is the
// whole program, the wizard shown modally. Started anywhere but in an
// installation of ours (uninstall/Installation.h) it shows one notice
// instead and changes nothing. The program takes no arguments and has no
// single-instance guard.
#pragma once

#include "ui/AppManager.h"

class CUninstall : public CAppManager {
public:
    // Shows the wizard (or the notice) and returns true once it is gone and
    // no uninstall worker runs any more.
    bool InitInstance() override;
};
