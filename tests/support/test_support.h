// Helpers for tests that drive real windows in process under Wine.
#ifndef DREVALON_TEST_SUPPORT_H
#define DREVALON_TEST_SUPPORT_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Dispatches messages of this thread until `done` is true or `timeoutMs`
// passes; returns the final value of `done`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Dispatches messages of this thread for `ms` milliseconds.
void PumpFor(DWORD ms);

// Texts and states of windows.
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
bool IsItemEnabled(HWND dialog, int id);
UINT ItemCheck(HWND dialog, int id);

// What the answerer saw of one modal box or dialog.
struct SeenDialog {
    std::string caption;
    std::string text;                 // the static texts, joined by '\n'
    std::vector<std::string> statics; // each static text
};

// Answers the modal message boxes and dialogs this thread will show: a
// WH_CBT hook notices each new "#32770" window, records it and, from a
// zero-delay timer inside its modal loop, runs the answer's `fill` (to set
// controls) and then presses the answer's button. Boxes beyond the queued
// answers are pressed with IDCANCEL so that a test never hangs.
class DialogAnswerer {
public:
    struct Answer {
        int button;
        std::function<void(HWND)> fill;
    };

    DialogAnswerer();
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Queues the answer for the next box.
    void Expect(int button, std::function<void(HWND)> fill = nullptr);

    const std::vector<SeenDialog>& Seen() const { return seen_; }
    size_t Count() const { return seen_.size(); }
    size_t Pending() const { return answers_.size() - next_; }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK TimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
    void Respond(HWND dialog);

    HHOOK hook_;
    std::vector<Answer> answers_;
    size_t next_ = 0;
    std::vector<SeenDialog> seen_;
    std::vector<HWND> handled_;
};

// A folder of its own for one test, removed with its contents at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Deletes an HKEY_CURRENT_USER key tree when made and when gone, so a test
// starts and leaves with no stored settings under it.
class RegistryKeyReset {
public:
    explicit RegistryKeyReset(const std::string& subKey);
    ~RegistryKeyReset();
    RegistryKeyReset(const RegistryKeyReset&) = delete;
    RegistryKeyReset& operator=(const RegistryKeyReset&) = delete;

private:
    std::string subKey_;
};

// Writes a whole text file.
void WriteTextFile(const std::string& path, const std::string& text);
// Reads a whole text file ("" when missing).
std::string ReadTextFile(const std::string& path);
// Full path of a file beside the running test executable.
std::string ExeSiblingPath(const std::string& name);

} // namespace testing_support

#endif
