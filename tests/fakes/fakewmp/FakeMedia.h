// The fake player's current media and its transport controls.
#pragma once
#include "tests/fakes/fakewmp/FakeModule.h"
#include "tests/fakes/fakewmp/FakeState.h"
#include <wmp.h>

// A snapshot of the media the state file described when it was asked for.
class CFakeMedia final : public CFakeObject, public DispatchWithoutTypeInfo<IWMPMedia> {
  public:
    explicit CFakeMedia(const FakeMediaState& state) : m_state(state) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
    STDMETHODIMP_(ULONG) Release() override;

    // What hosts read: the "Author" attribute and the name.
    STDMETHODIMP getItemInfo(BSTR item, BSTR* value) override;
    STDMETHODIMP get_name(BSTR* name) override;

    STDMETHODIMP get_isIdentical(IWMPMedia*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_sourceURL(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_name(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_imageSourceWidth(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_imageSourceHeight(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_markerCount(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP getMarkerTime(LONG, double*) override { return E_NOTIMPL; }
    STDMETHODIMP getMarkerName(LONG, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_duration(double*) override { return E_NOTIMPL; }
    STDMETHODIMP get_durationString(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_attributeCount(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP getAttributeName(LONG, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP setItemInfo(BSTR, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP getItemInfoByAtom(LONG, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP isMemberOf(IWMPPlaylist*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP isReadOnlyItem(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }

  private:
    ULONG m_cRef = 1;
    FakeMediaState m_state;
};

// Previous and Next are written to the log; the driver decides what plays next.
class CFakeControls final : public CFakeObject, public DispatchWithoutTypeInfo<IWMPControls> {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP next() override;
    STDMETHODIMP previous() override;

    STDMETHODIMP get_isAvailable(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP play() override { return E_NOTIMPL; }
    STDMETHODIMP stop() override { return E_NOTIMPL; }
    STDMETHODIMP pause() override { return E_NOTIMPL; }
    STDMETHODIMP fastForward() override { return E_NOTIMPL; }
    STDMETHODIMP fastReverse() override { return E_NOTIMPL; }
    STDMETHODIMP get_currentPosition(double*) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentPosition(double) override { return E_NOTIMPL; }
    STDMETHODIMP get_currentPositionString(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP currentItem(IWMPMedia**) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentItem(IWMPMedia*) override { return E_NOTIMPL; }
    STDMETHODIMP get_currentMarker(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentMarker(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP playItem(IWMPMedia*) override { return E_NOTIMPL; }

  private:
    ULONG m_cRef = 1;
};
