#pragma once
// Start-up: the application's title and help file, then the four windows,
// all hidden, in this order: the splash window Form4 (the first window is
// the application's main window, and its timer starts counting), the main
// window Form1, the port area window Form2, the report form Form3.

void startUp();
