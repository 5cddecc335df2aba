#include "app/core/DownloadThread.h"

#include <wininet.h>

namespace
{
// Bind flags added to the caller's: fetch the newest version and keep nothing in the cache.
const DWORD kNoCacheBindFlags = BINDF_GETNEWESTVERSION | BINDF_NOWRITECACHE;
const ULONG kStatusCacheFileNameAvailable = BINDSTATUS_CACHEFILENAMEAVAILABLE;
const DWORD kHttpNotFound = 404;
const DWORD kHttpFirstError = 400;
// Stop: time for the abort flag to be seen at the next progress report, then for the aborted
// binding to unwind.
const DWORD kFlagWaitMs = 100;
const DWORD kAbortWaitMs = 3000;
const DWORD kTerminatedExitCode = DWORD(-1000);

} // namespace

update_notify& update_notify::Get()
{
    static update_notify notify;
    return notify;
}

void update_notify::SetWindow(HWND window)
{
    m_window = window;
}

HWND update_notify::GetWindow() const
{
    if (m_window)
        return m_window;
    // Without a registered window, the application's main window.
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
}

LONG update_notify::OnDownloadDone(int result, DWORD elapsedMs)
{
    HWND window = GetWindow();
    if (window && ::IsWindow(window))
        ::PostMessageW(window, WM_RW_DOWNLOAD_DONE, WPARAM(result), LPARAM(elapsedMs));
    return 0;
}

LONG update_notify::OnDownloadProgress(ULONG progress, ULONG maximum)
{
    HWND window = GetWindow();
    if (window && ::IsWindow(window))
        ::PostMessageW(window, WM_RW_DOWNLOAD_PROGRESS, WPARAM(progress), LPARAM(maximum));
    return 0;
}

DownloadThread::DownloadThread(const CString& url, const CString& target)
    : CWinThread(ThreadProc, nullptr), m_url(url), m_target(target), m_abort(0), m_maximum(0), m_progress(0),
      m_binding(nullptr), m_callback(&update_notify::Get()), m_startTick(0), m_httpStatus(0), m_abandoned(0)
{
    m_pThreadParams = this;
    m_bAutoDelete = FALSE;
}

DownloadThread::~DownloadThread()
{
    ReleaseBinding();
}

UINT DownloadThread::ThreadProc(LPVOID param)
{
    DownloadThread* self = static_cast<DownloadThread*>(param);
    try
    {
        self->Run();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    // Abandoned by its owner: nobody waits for the object any more, so it goes with its thread.
    if (::InterlockedCompareExchange(&self->m_abandoned, 2, 0) == 1)
        self->m_bAutoDelete = TRUE;
    return 0;
}

int DownloadThread::ClassifyResult(HRESULT result, DWORD httpStatus, ULONG progress, ULONG maximum)
{
    if (result == E_ABORT)
        return kDownloadAborted;
    if (result == INET_E_RESOURCE_NOT_FOUND || result == INET_E_OBJECT_NOT_FOUND)
        return kDownloadNotFound;
    if (FAILED(result))
        return kDownloadFailed;
    // URLMON saves an error page as if it were the file: the HTTP status tells.
    if (httpStatus == kHttpNotFound)
        return kDownloadNotFound;
    if (httpStatus >= kHttpFirstError)
        return kDownloadFailed;
    // A server that closed without any answer: no status and no byte is no file.
    if (httpStatus == 0 && progress == 0)
        return kDownloadFailed;
    // A connection that closed before the announced length also "succeeds".
    if (maximum > 0 && progress < maximum)
        return kDownloadFailed;
    return kDownloadOk;
}

int DownloadThread::Run()
{
    m_startTick = ::GetTickCount();
    ::DeleteUrlCacheEntryW(m_url);
    const HRESULT hr = ::URLDownloadToFileW(nullptr, m_url, m_target, 0, static_cast<IBindStatusCallback*>(this));
    int result = ClassifyResult(hr, m_httpStatus, m_progress, m_maximum);
    if (result == kDownloadOk && m_abort)
        result = kDownloadAborted;
    // Nothing half-written or an error page stays under the target's name.
    if (result != kDownloadOk)
        ::DeleteFileW(m_target);
    ReleaseBinding();
    if (!m_abandoned && m_callback)
        m_callback->OnDownloadDone(result, ::GetTickCount() - m_startTick);
    return 0;
}

void DownloadThread::ReleaseBinding()
{
    IBinding* binding = nullptr;
    {
        CSingleLock guard(&m_bindingLock, TRUE);
        binding = m_binding;
        m_binding = nullptr;
    }
    if (binding)
        binding->Release();
}

bool DownloadThread::WaitEnded(DWORD ms) const
{
    return !m_hThread || ::WaitForSingleObject(m_hThread, ms) == WAIT_OBJECT_0;
}

bool DownloadThread::Stop()
{
    m_abort = 1;
    if (WaitEnded(kFlagWaitMs))
        return true;
    // A stalled transfer makes no progress report that could see the flag: abort the binding.
    IBinding* binding = nullptr;
    {
        CSingleLock guard(&m_bindingLock, TRUE);
        binding = m_binding;
        if (binding)
            binding->AddRef();
    }
    if (binding)
    {
        binding->Abort();
        binding->Release();
    }
    return WaitEnded(kAbortWaitMs);
}

void DownloadThread::Abandon()
{
    if (m_callback)
        m_callback->OnDownloadDone(kDownloadAborted, ::GetTickCount() - m_startTick);
    if (::InterlockedCompareExchange(&m_abandoned, 1, 0) == 2)
    {
        // The thread ended in the meantime.
        WaitEnded(INFINITE);
        delete this;
    }
}

void DownloadThread::TerminateAtExit()
{
    if (!WaitEnded(0))
        ::TerminateThread(m_hThread, kTerminatedExitCode);
}

STDMETHODIMP DownloadThread::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IHttpNegotiate))
    {
        *object = static_cast<IHttpNegotiate*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP_(ULONG) DownloadThread::AddRef()
{
    return 0;
}

STDMETHODIMP_(ULONG) DownloadThread::Release()
{
    return 0;
}

STDMETHODIMP DownloadThread::OnStartBinding(DWORD, IBinding* binding)
{
    CSingleLock guard(&m_bindingLock, TRUE);
    if (binding == m_binding)
        return S_OK;
    if (binding)
        binding->AddRef();
    if (m_binding)
        m_binding->Release();
    m_binding = binding;
    return S_OK;
}

STDMETHODIMP DownloadThread::GetPriority(LONG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP DownloadThread::OnLowResource(DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP DownloadThread::OnProgress(ULONG progress, ULONG maximum, ULONG statusCode, LPCWSTR)
{
    if (m_abort)
        return E_ABORT;
    try
    {
        m_maximum = maximum;
        m_progress = progress;
        if (m_callback && !m_abandoned)
            m_callback->OnDownloadProgress(progress, maximum);
    }
    catch (...)
    {
    }
    return statusCode == kStatusCacheFileNameAvailable ? E_FAIL : S_OK;
}

STDMETHODIMP DownloadThread::OnStopBinding(HRESULT, LPCWSTR)
{
    ReleaseBinding();
    return S_OK;
}

STDMETHODIMP DownloadThread::GetBindInfo(DWORD* bindFlags, BINDINFO*)
{
    if (!bindFlags)
        return E_POINTER;
    *bindFlags |= kNoCacheBindFlags;
    return S_OK;
}

STDMETHODIMP DownloadThread::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

STDMETHODIMP DownloadThread::OnObjectAvailable(REFIID, IUnknown*)
{
    return E_NOTIMPL;
}

STDMETHODIMP DownloadThread::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additional)
{
    if (additional)
        *additional = nullptr;
    return S_OK;
}

STDMETHODIMP DownloadThread::OnResponse(DWORD statusCode, LPCWSTR, LPCWSTR, LPWSTR* additional)
{
    if (additional)
        *additional = nullptr;
    m_httpStatus = statusCode;
    return S_OK;
}
