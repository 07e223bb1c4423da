#pragma once

// The windows through which the database layer is seen in the windows program: its errors in
// the error window, the supervision in the waiting window. Called once at start-up.
void InstallDbWindows();
