#pragma once
// The thread's keyboard hook (Alt+key accelerators for skinned frames) and
// message-filter hook (menu-mode messages for a popup tracker).  Both keep
// raw, uncounted client pointers; a client unregisters before it dies.
#include <windows.h>

#include "RefCounted.h"

namespace glim {

// A window whose Alt+key presses may become menu accelerators.
class IKeyboardClient : public virtual RefCounted {
  public:
    // True while the client's window is active.
    virtual bool WindowActive() = 0;
    // True when the key was used; the hook then swallows it.
    virtual bool AltKeyAccelerator(long vKey) = 0;

  protected:
    ~IKeyboardClient() override = default;
};

// The one client of the message-filter hook while a popup menu runs.
class IMenuFilterClient : public virtual RefCounted {
  public:
    // Sees a copy of every menu-mode message; handled = true drops it.
    virtual void MsgFilter(MSG& copy, bool& handled) = 0;

  protected:
    ~IMenuFilterClient() override = default;
};

// Installs the keyboard hook if there is none and registers the client once.
void mDeclares_AttachKeyboardHook(IKeyboardClient* client);
// Unregisters the client; removes the hook when no client is left.
void mDeclares_DetachKeyboardHook(IKeyboardClient* client);
// 1-based index of the client, 0 when absent.
long mDeclares_FindKeyboardClient(IKeyboardClient* client);
// The first registered client whose window is active.
bool mDeclares_GetActiveKeyboardClient(Ref<IKeyboardClient>& client);
LRESULT CALLBACK mDeclares_KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);

// Replaces any earlier message-filter hook with one serving the client.
void mDeclares_InstallMenuHook(IMenuFilterClient* client);
void mDeclares_RemoveMenuHook();
LRESULT CALLBACK mDeclares_MsgFilterProc(int nCode, WPARAM wParam, LPARAM lParam);

// This thread's hook state, for inspection.
HHOOK mDeclares_KeyboardHook();
long mDeclares_KeyboardClientCount();
HHOOK mDeclares_MenuHook();
IMenuFilterClient* mDeclares_MenuClient();

// A counted reference to the object behind a raw pointer, empty for null.
template <class T>
Ref<T> mDeclares_ObjectFromPtr(T* p) {
    return Ref<T>(p);
}
template <class T>
Ref<T> mDeclares_ObjectFromPtr(LONG_PTR p) {
    return Ref<T>(reinterpret_cast<T*>(p));
}

// A procedure's address as a hook procedure value.
template <class Proc>
constexpr Proc mDeclares_FnPtr(Proc address) {
    return address;
}

} // namespace glim
