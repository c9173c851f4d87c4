// The few Windows.Media.Control runtime interfaces the media-sessions source
// calls (Windows 10 1809 and later). MinGW-w64 ships no header for them, so
// they are declared here with Windows' own interface identifiers and method
// order: IUnknown's three and IInspectable's three methods first, then the
// interface's methods in metadata order, properties as get_X. Methods we
// never call keep their slot with a placeholder signature.
//
// The identifiers of generic instantiations are Windows' name-based (SHA-1)
// hashes of their type signatures, e.g. for the manager's request
//   pinterface({9fc2b0bb-e446-44e2-aa61-9cab8f636af2};rc(Windows.Media.Control.
//   GlobalSystemMediaTransportControlsSessionManager;{cace8eac-...}))
//
// Declared outside any anonymous namespace: GCC at -O2 treats a call through
// an interface that no class of its file implements, declared in an anonymous
// namespace, as unreachable.
#pragma once
#include <windows.h>

#include <asyncinfo.h>
#include <eventtoken.h>
#include <hstring.h>
#include <inspectable.h>

namespace media_control {

struct IGlobalSystemMediaTransportControlsSession;
struct IGlobalSystemMediaTransportControlsSessionManager;

// Windows.Media.Control.GlobalSystemMediaTransportControlsSessionPlaybackStatus
enum PlaybackStatus : INT32 {
    kPlaybackClosed = 0,
    kPlaybackOpened = 1,
    kPlaybackChanging = 2,
    kPlaybackStopped = 3,
    kPlaybackPlaying = 4,
    kPlaybackPaused = 5,
};

// Windows.Foundation.IAsyncOperation<T> and AsyncOperationCompletedHandler<T>;
// T is the result's ABI type.
template <class T> struct IAsyncOperationCompletedHandlerOf;

template <class T> struct IAsyncOperationOf : public IInspectable {
    virtual HRESULT STDMETHODCALLTYPE
    put_Completed(IAsyncOperationCompletedHandlerOf<T>* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    get_Completed(IAsyncOperationCompletedHandlerOf<T>** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(T* results) = 0;
};

template <class T> struct IAsyncOperationCompletedHandlerOf : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperationOf<T>* asyncInfo,
                                             AsyncStatus status) = 0;
};

// Windows.Foundation.TypedEventHandler<TSender, TArgs>; the event arguments
// carry nothing we read.
template <class Sender> struct ITypedEventHandlerOf : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(Sender* sender, IInspectable* args) = 0;
};

struct IGlobalSystemMediaTransportControlsSessionMediaProperties : public IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Title(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Subtitle(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AlbumArtist(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Artist(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AlbumTitle(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TrackNumber(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Genres(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AlbumTrackCount(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PlaybackType(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Thumbnail(IInspectable** value) = 0;
};

struct IGlobalSystemMediaTransportControlsSessionPlaybackInfo : public IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Controls(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PlaybackStatus(PlaybackStatus* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PlaybackType(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AutoRepeatMode(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PlaybackRate(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsShuffleActive(IInspectable** value) = 0;
};

using PropertiesOperation =
    IAsyncOperationOf<IGlobalSystemMediaTransportControlsSessionMediaProperties*>;
using PropertiesCompletedHandler =
    IAsyncOperationCompletedHandlerOf<IGlobalSystemMediaTransportControlsSessionMediaProperties*>;
using ManagerOperation = IAsyncOperationOf<IGlobalSystemMediaTransportControlsSessionManager*>;
using ManagerCompletedHandler =
    IAsyncOperationCompletedHandlerOf<IGlobalSystemMediaTransportControlsSessionManager*>;
using BoolOperation = IAsyncOperationOf<boolean>;
// Both session events have the session as their sender.
using SessionEventHandler = ITypedEventHandlerOf<IGlobalSystemMediaTransportControlsSession>;
using ManagerEventHandler = ITypedEventHandlerOf<IGlobalSystemMediaTransportControlsSessionManager>;

struct IGlobalSystemMediaTransportControlsSession : public IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_SourceAppUserModelId(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    TryGetMediaPropertiesAsync(PropertiesOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTimelineProperties(IInspectable** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    GetPlaybackInfo(IGlobalSystemMediaTransportControlsSessionPlaybackInfo** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryPlayAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryPauseAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryStopAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryRecordAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryFastForwardAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryRewindAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TrySkipNextAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TrySkipPreviousAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryChangeChannelUpAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryChangeChannelDownAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryTogglePlayPauseAsync(BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryChangeAutoRepeatModeAsync(INT32 mode,
                                                                   BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryChangePlaybackRateAsync(DOUBLE rate,
                                                                 BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryChangeShuffleActiveAsync(boolean active,
                                                                  BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryChangePlaybackPositionAsync(INT64 position,
                                                                     BoolOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    add_TimelinePropertiesChanged(SessionEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    remove_TimelinePropertiesChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_PlaybackInfoChanged(SessionEventHandler* handler,
                                                              EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_PlaybackInfoChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_MediaPropertiesChanged(SessionEventHandler* handler,
                                                                 EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    remove_MediaPropertiesChanged(EventRegistrationToken token) = 0;
};

struct IGlobalSystemMediaTransportControlsSessionManager : public IInspectable {
    virtual HRESULT STDMETHODCALLTYPE
    GetCurrentSession(IGlobalSystemMediaTransportControlsSession** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSessions(IInspectable** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_CurrentSessionChanged(ManagerEventHandler* handler,
                                                                EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    remove_CurrentSessionChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_SessionsChanged(ManagerEventHandler* handler,
                                                          EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_SessionsChanged(EventRegistrationToken token) = 0;
};

struct IGlobalSystemMediaTransportControlsSessionManagerStatics : public IInspectable {
    virtual HRESULT STDMETHODCALLTYPE RequestAsync(ManagerOperation** operation) = 0;
};

// The runtime class whose activation factory offers the statics.
constexpr wchar_t kManagerClass[] =
    L"Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";

// Interface identifiers.
constexpr IID kIidManagerStatics{
    0x2050c4ee, 0x11a0, 0x57de, {0xae, 0xd7, 0xc9, 0x7c, 0x70, 0x33, 0x82, 0x45}};
constexpr IID kIidManager{
    0xcace8eac, 0xe86e, 0x504a, {0xab, 0x31, 0x5f, 0xf8, 0xff, 0x1b, 0xce, 0x49}};
constexpr IID kIidSession{
    0x7148c835, 0x9b14, 0x5ae2, {0xab, 0x85, 0xdc, 0x9b, 0x1c, 0x14, 0xe1, 0xa8}};
constexpr IID kIidMediaProperties{
    0x68856cf6, 0xadb4, 0x54b2, {0xac, 0x16, 0x05, 0x83, 0x79, 0x07, 0xac, 0xb6}};
constexpr IID kIidPlaybackInfo{
    0x94b4b6cf, 0xe8ba, 0x51ad, {0x87, 0xa7, 0xc1, 0x0a, 0xde, 0x10, 0x61, 0x27}};
// IAsyncOperation<GlobalSystemMediaTransportControlsSessionManager> and its handler.
constexpr IID kIidManagerOperation{
    0x3eec115e, 0x7346, 0x5c27, {0x8c, 0x5f, 0xda, 0x78, 0x51, 0x4a, 0x27, 0x7b}};
constexpr IID kIidManagerCompletedHandler{
    0x10f0074e, 0x923d, 0x5510, {0x8f, 0x4a, 0xdd, 0xe3, 0x77, 0x54, 0xca, 0x0e}};
// IAsyncOperation<GlobalSystemMediaTransportControlsSessionMediaProperties> and its handler.
constexpr IID kIidPropertiesOperation{
    0xb185e6f3, 0xe0d8, 0x51cb, {0x91, 0x3f, 0xc9, 0x8d, 0x48, 0xc9, 0x3c, 0x46}};
constexpr IID kIidPropertiesCompletedHandler{
    0x84593a3d, 0x951a, 0x55b6, {0x83, 0x53, 0x52, 0x05, 0xe5, 0x77, 0x79, 0x7b}};
// IAsyncOperation<Boolean>.
constexpr IID kIidBoolOperation{
    0xcdb5efb3, 0x5788, 0x509d, {0x9b, 0xe1, 0x71, 0xcc, 0xb8, 0xa3, 0x36, 0x2a}};
// TypedEventHandler<GlobalSystemMediaTransportControlsSessionManager,
// CurrentSessionChangedEventArgs>.
constexpr IID kIidCurrentSessionChangedHandler{
    0x228bd0ed, 0x1fa2, 0x5e9b, {0xa6, 0xec, 0x42, 0x56, 0x61, 0x73, 0x10, 0x3b}};
// TypedEventHandler<GlobalSystemMediaTransportControlsSession, MediaPropertiesChangedEventArgs>.
constexpr IID kIidMediaPropertiesChangedHandler{
    0x0f2ce2b7, 0xafa7, 0x5ed0, {0x8c, 0xb6, 0x8c, 0x40, 0xcf, 0x9b, 0x3a, 0x5f}};
// TypedEventHandler<GlobalSystemMediaTransportControlsSession, PlaybackInfoChangedEventArgs>.
constexpr IID kIidPlaybackInfoChangedHandler{
    0x2bdf1426, 0xd41f, 0x5896, {0x89, 0x7f, 0xef, 0xc0, 0xb0, 0xfa, 0x73, 0x92}};

} // namespace media_control
