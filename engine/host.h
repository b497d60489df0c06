#pragma once
// What the game's window-independent code needs of the window it runs in: message
// boxes and "let the window process pending events". The engine and the store reach
// the window only through this (and the engine's element operations, table.h); the
// program's wiring installs the window as the host (surroundings.h), tests install
// recording stand-ins.
#include <string>

namespace karvelo {

enum class Buttons { OK, YesNo };
enum class Icon { None, Exclamation };
enum class DefaultButton { First, Second };
enum class Answer { OK, Yes, No };

// The application title that message boxes carry unless told otherwise.
inline constexpr const char* kAppTitle = "Karvelo";

class Host {
public:
    virtual ~Host() = default;
    // Shows a modal message box and returns the button pressed. Texts are UTF-8 and
    // may hold TAB and CR LF exactly as the game builds them.
    virtual Answer MsgBox(const std::string& text, Buttons buttons, Icon icon,
                          DefaultButton defaultButton, const std::string& title) = 0;
    // Lets the window handle whatever input and painting is pending, then returns.
    virtual void DoEvents() = 0;
};

// The host in force (surroundings.h). Without one, message boxes answer with their
// default button and DoEvents does nothing, so the code runs headless.
Host& host();

}  // namespace karvelo
