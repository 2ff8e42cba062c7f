#include "frame/app.h"

CNvinfoApp theApp;

BOOL CNvinfoApp::InitInstance() { return TRUE; }
