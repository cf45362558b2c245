#pragma once

// Gives the running application the icon of its desktop entry (the same
// drawing as the installed hicolor icons), so that every window shows it in
// the title bar and the task bar; called once, after QApplication.
void setApplicationIcon();
