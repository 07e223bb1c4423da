#pragma once

class TF_Quorvel;

// The smoke test's view into a running program. With QUORVEL_SELF_TEST naming a folder, once
// the event loop runs, writes state.txt there (tab-separated records: "window"; "shot", the
// path of the window's picture window.png and its width and height; one "node" per tree node
// in display order; and for the report named by QUORVEL_SELF_TEST_REPORT its "run" for the
// window's period and the "xls" workbook written from the grid), then closes the window. Does
// nothing without the variable.
void ScheduleSelfTest(TF_Quorvel &Window);
