#pragma once
// A small command script for the running window, so that the real program
// can be driven from outside (the display test starts it under a virtual X
// server). Set CYCLORN_SCRIPT to steps separated by ";":
//   click NAME   presses the button, check box or menu item named NAME
//   grab FILE    saves a picture of the drawing area as painted now
//   grab-view FILE    the same for the part of the drawing in view
//   grab-window FILE  the same for the whole window
//   page N       shows page N of the page control (0 "Grid", 1 "Spanning", 2 "Loops",
//                3 "Blunders" while a survey with raw data is open)
//   load FILE    runs "Load Graph File" with FILE chosen in its file dialog
//   scroll X Y   scrolls the drawing so that its point (X, Y) is at the top
//                left of the scroll area, as far as the scroll bars go
//   labels MODE  labels every station (all), only junctions and ends, or none
//   quit         closes the window
// Example: CYCLORN_SCRIPT="click Problem2Btn;click Button1;grab loops.png;quit"

#include <QString>

class TForm1;

inline constexpr const char* kScriptVariable = "CYCLORN_SCRIPT";

// Runs the steps in order; stops at the first step that cannot run and
// returns its description ("unknown control: X"), or an empty string.
QString RunScript(TForm1& form, const QString& script);
