// The application object of setup.exe; the frame layer's entry runs it.
#include "app/setup_app.h"

CSetupApp theSetupApp;
