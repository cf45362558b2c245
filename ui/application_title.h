#pragma once

// The application's title, "ULM5 Конфигуратор": its name on the desktop and
// the caption of an unexpected failure. It is never added to the captions of
// the windows and message boxes, which read exactly as each one sets them.
inline constexpr char kApplicationTitle[] = "ULM5 Конфигуратор";

// Gives the running application its title; called once, after QApplication.
void setApplicationTitle();
