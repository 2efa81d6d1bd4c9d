// The listening window and its message loop.
#include "e2e/driver/SettingChangeListener.h"

namespace quillon::e2e {
namespace {

constexpr char kClassName[] = "QuillonE2eSettingChangeListener";
constexpr DWORD kStartMilliseconds = 10000;

void RegisterListenerClass(WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);  // a second registration fails harmlessly
}

}  // namespace

SettingChangeListener::SettingChangeListener() {
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = std::thread([this, ready] { Run(ready); });
  WaitForSingleObject(ready, kStartMilliseconds);
  CloseHandle(ready);
}

SettingChangeListener::~SettingChangeListener() {
  if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
  thread_.join();
}

std::vector<std::string> SettingChangeListener::Sections() const {
  const std::lock_guard lock(mutex_);
  return sections_;
}

// A top-level window that is never shown still receives broadcasts.
void SettingChangeListener::Run(HANDLE ready) {
  RegisterListenerClass(WindowProc);
  HWND window = CreateWindowExA(0, kClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr,
                                nullptr, GetModuleHandleA(nullptr), this);
  window_ = window;
  SetEvent(ready);
  if (!window) return;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

LRESULT CALLBACK SettingChangeListener::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<SettingChangeListener*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_SETTINGCHANGE: {
      const char* section = reinterpret_cast<const char*>(lParam);
      const std::lock_guard lock(self->mutex_);
      self->sections_.emplace_back(section ? section : "(null)");
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace quillon::e2e
