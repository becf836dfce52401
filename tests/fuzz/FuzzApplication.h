#pragma once
// The application object that fonts, pictures and widgets need: the targets that measure or
// draw create it once, on the offscreen platform unless another one is asked for.

// A QApplication (widgets included) for the whole run.
void startGuiApplication(int* argc, char*** argv);
