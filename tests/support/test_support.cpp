// Helpers for tests that drive real windows in process under Wine.
#include "test_support.h"

#include <cstdio>

namespace testing_support {

namespace {
thread_local DialogAnswerer* t_answerer = nullptr;
const UINT_PTR kAnswerTimer = 0x7E57;

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param)
{
    auto* seen = reinterpret_cast<SeenDialog*>(param);
    std::string cls = ClassOf(child);
    if (_stricmp(cls.c_str(), "Static") == 0) {
        std::string text = WindowText(child);
        if (!text.empty()) {
            seen->statics.push_back(text);
            if (!seen->text.empty())
                seen->text += "\n";
            seen->text += text;
        }
    }
    return TRUE;
}

void DeleteTree(const std::string& subKey)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, subKey.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, subKey.c_str());
}

void RemoveFolder(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}
} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs)
            return done();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    text.resize(strlen(text.c_str()));
    return text;
}

std::string ItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

bool IsItemEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

UINT ItemCheck(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id);
}

DialogAnswerer::DialogAnswerer()
{
    t_answerer = this;
    hook_ = SetWindowsHookExA(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
}

DialogAnswerer::~DialogAnswerer()
{
    UnhookWindowsHookEx(hook_);
    if (t_answerer == this)
        t_answerer = nullptr;
}

void DialogAnswerer::Expect(int button, std::function<void(HWND)> fill)
{
    answers_.push_back(Answer{button, std::move(fill)});
}

LRESULT CALLBACK DialogAnswerer::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && t_answerer) {
        HWND window = reinterpret_cast<HWND>(wParam);
        bool known = false;
        for (HWND h : t_answerer->handled_)
            known = known || h == window;
        if (!known && ClassOf(window) == "#32770") {
            t_answerer->handled_.push_back(window);
            SetTimer(window, kAnswerTimer, 0, TimerProc);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogAnswerer::TimerProc(HWND window, UINT, UINT_PTR id, DWORD)
{
    KillTimer(window, id);
    if (t_answerer)
        t_answerer->Respond(window);
}

void DialogAnswerer::Respond(HWND dialog)
{
    SeenDialog seen;
    seen.caption = WindowText(dialog);
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&seen));
    seen_.push_back(seen);
    int button = IDCANCEL;
    if (next_ < answers_.size()) {
        Answer& answer = answers_[next_++];
        if (answer.fill)
            answer.fill(dialog);
        button = answer.button;
    }
    if (!IsWindow(dialog))
        return;
    HWND control = GetDlgItem(dialog, button);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static LONG counter = 0;
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%sdrevalon-test-%lu-%ld", base, GetCurrentProcessId(),
             InterlockedIncrement(&counter));
    path_ = name;
    RemoveFolder(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveFolder(path_);
}

RegistryKeyReset::RegistryKeyReset(const std::string& subKey) : subKey_(subKey)
{
    DeleteTree(subKey_);
}

RegistryKeyReset::~RegistryKeyReset()
{
    DeleteTree(subKey_);
}

void WriteTextFile(const std::string& path, const std::string& text)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
}

std::string ReadTextFile(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return "";
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    fclose(file);
    return text;
}

std::string ExeSiblingPath(const std::string& name)
{
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    std::string path = module;
    size_t slash = path.find_last_of('\\');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
}

} // namespace testing_support
