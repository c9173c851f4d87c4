// The callbacks the media-sessions source hands to Windows: event handlers and
// completion handlers. Windows calls them on threads of its own, possibly
// after the source has gone, so they hold nothing of the source: each posts
// one message to the source's window through a shared post box, which the
// source closes before it lets go of anything. A call made while the post box
// is closed does nothing.
#pragma once
#include "players/MediaSessionInterfaces.h"

#include <atomic>
#include <memory>
#include <mutex>

class CPostBox {
  public:
    explicit CPostBox(HWND window) : m_window(window) {}
    void Post(UINT message, WPARAM wParam, LPARAM lParam);
    void Close();

  private:
    std::mutex m_mutex;
    HWND m_window;
};

// IUnknown for a delegate: the delegate's own interface identifier, and agile
// (IAgileObject, the free-threaded marshaler), so Windows calls it directly
// from any thread instead of marshalling the call to the registering one.
template <class Interface> class CAgileDelegate : public Interface {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override;

  protected:
    CAgileDelegate(const IID& iid, std::shared_ptr<CPostBox> box, UINT message, WPARAM wParam);
    virtual ~CAgileDelegate();
    void Post(LPARAM lParam) const { m_box->Post(m_message, m_wParam, lParam); }

  private:
    std::atomic<ULONG> m_refs{1};
    const IID m_iid;
    std::shared_ptr<CPostBox> m_box;
    const UINT m_message;
    const WPARAM m_wParam;
    IUnknown* m_marshaler = nullptr;
};

// A TypedEventHandler that posts `message` with `wParam` for each event.
template <class Sender>
class CEventDelegate final : public CAgileDelegate<media_control::ITypedEventHandlerOf<Sender>> {
  public:
    // Created with one reference, which the caller owns.
    CEventDelegate(const IID& iid, std::shared_ptr<CPostBox> box, UINT message, WPARAM wParam)
        : CAgileDelegate<media_control::ITypedEventHandlerOf<Sender>>(iid, std::move(box), message,
                                                                      wParam) {}
    STDMETHODIMP Invoke(Sender*, IInspectable*) override {
        this->Post(0);
        return S_OK;
    }
};

// An AsyncOperationCompletedHandler that posts `message` with `wParam` (the
// source's ticket for the operation) and the status as lParam. Windows calls
// it once, whether the operation completed before or after it was set.
template <class T>
class CCompletionDelegate final
    : public CAgileDelegate<media_control::IAsyncOperationCompletedHandlerOf<T>> {
  public:
    CCompletionDelegate(const IID& iid, std::shared_ptr<CPostBox> box, UINT message, WPARAM ticket)
        : CAgileDelegate<media_control::IAsyncOperationCompletedHandlerOf<T>>(iid, std::move(box),
                                                                              message, ticket) {}
    STDMETHODIMP Invoke(media_control::IAsyncOperationOf<T>*, AsyncStatus status) override {
        this->Post(static_cast<LPARAM>(status));
        return S_OK;
    }
};
