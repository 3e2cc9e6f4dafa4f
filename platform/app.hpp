#pragma once
// The engine layer's application side: the application base that the game's BriskApp extends,
// the frame loop's rate, clocks, errors and the program's end.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

// Base of every object the game throws. Its own text is the fixed "Uncaught Vantle Exception";
// the game's exception family derives from it.
class ThrowableObject {
public:
    virtual ~ThrowableObject() = default;
    virtual std::string Text() const { return "Uncaught Vantle Exception"; }
    // The full description (type, message, causes) printed beside the fixed text when such an
    // object escapes, so a data error at start-up still names its cause.
    virtual std::string Describe() const { return Text(); }
};

// A runtime error carries a message that the uncaught-error report shows and prints as
// "Vantle Runtime Error : " + message.
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(const std::string& message) : std::runtime_error(message) {}
};

// Thrown by EndApp and Error(""): the program ends at once with this status and no report.
// It is not a ThrowableObject, so no game guard catches it.
struct AppExit {
    int status = 0;
};

// The application base. Exactly one exists at a time; a second raises
// RuntimeError("App has already been created").
class App {
public:
    App();
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    virtual void OnResize() {}
    virtual void OnCreate() {}
    virtual void OnSuspend() {}
    virtual void OnResume() {}
    virtual void OnUpdate() {}
    virtual void OnLoading() {}
    virtual void OnRender() {}
    virtual void OnClose() {}
    virtual void OnBack() {}

    static App* Current();
};

void SetUpdateRate(int hz);
int UpdateRate();

// Milliseconds since the engine started: 64-bit, never negative, monotonic.
int64_t Millisecs();
// The system millisecond clock, used only to seed the random generator.
double SystemMillisecs();
// The current local year (the only part of the date the game reads).
int CurrentYear();

// Window, device and desktop sizes in pixels. The device size is 0 x 0 until a window exists.
int DeviceWidth();
int DeviceHeight();
int DesktopWidth();
int DesktopHeight();

// Opens (or re-opens) graphics at w x h. depth 32 = full screen, depth 0 = windowed.
// Returns false when the mode cannot be had. A re-open keeps every loaded image.
bool OpenGraphics(int width, int height, int depth, int hertz, int flags);
// Sets the first icon of an .ico file as the window's icon; a missing file is skipped quietly.
void SetWindowIcon(const std::string& icoFile);
void ShowMouse(bool visible);
void SetMousePosition(int x, int y);

// A message box; in headless runs the text goes to standard error instead.
void NotifyUser(const std::string& text, bool serious);
// One line to standard output.
void PrintLine(const std::string& text);

// Ends the program at once, status 0, no report.
[[noreturn]] void EndApp();
// An empty text ends the program like EndApp; any other text raises a RuntimeError.
[[noreturn]] void Error(const std::string& text);

// Delivers finished asynchronous requests (HTTP) to their listeners, on the main thread.
void UpdateAsyncEvents();

}  // namespace platform
