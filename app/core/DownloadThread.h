// One URL downloaded into one file on a worker thread of its own through URLMON, with the cache
// bypassed; the outcome and the progress go to a download_callback. The update manager runs one
// at a time, first for the update description, then for the package.
#pragma once

#include "app/core/PrivateMessages.h"
#include "platform/mfc/Mfc.h"

#include <urlmon.h>

// Receives a download's reports (on the download's worker thread).
class download_callback
{
  public:
    // result: one of the DownloadResult values.
    virtual LONG OnDownloadDone(int result, DWORD elapsedMs) = 0;
    virtual LONG OnDownloadProgress(ULONG progress, ULONG maximum) = 0;

  protected:
    ~download_callback() = default;
};

enum DownloadResult
{
    kDownloadOk = 0,
    kDownloadFailed = 1,
    kDownloadNotFound = 2,
    kDownloadAborted = 3,
};

// update_notify posts WM_RW_DOWNLOAD_DONE and WM_RW_DOWNLOAD_PROGRESS to the main window.

// The process-wide download_callback: posts both reports to the application's main window, and
// only while that window exists.
class update_notify : public download_callback
{
  public:
    static update_notify& Get();
    // The window that receives the reports; without one, the application's main window.
    void SetWindow(HWND window);
    HWND GetWindow() const;

    LONG OnDownloadDone(int result, DWORD elapsedMs) override;
    LONG OnDownloadProgress(ULONG progress, ULONG maximum) override;

  private:
    volatile HWND m_window = nullptr;
};

class DownloadThread : public CWinThread, public IBindStatusCallback, public IHttpNegotiate
{
  public:
    DownloadThread(const CString& url, const CString& target);
    ~DownloadThread() override;

    // The thread body; returns 0.
    int Run() override;
    // Ends the download: the abort flag first, then the binding is aborted. Returns true once
    // the thread has ended; false when it still runs after every wait (the object must then
    // stay alive: see Abandon). A thread inside URLMON is never terminated here.
    bool Stop();
    // For a thread that Stop could not end: reports "aborted" in its place now, silences the
    // thread's own report, and lets the object delete itself when the thread ends.
    void Abandon();
    // Ends a thread that would not stop: only at process exit, when nothing else can wait.
    void TerminateAtExit();

    void SetCallback(download_callback* callback)
    {
        m_callback = callback;
    }
    const CString& GetUrl() const
    {
        return m_url;
    }
    const CString& GetTarget() const
    {
        return m_target;
    }
    ULONG GetProgress() const
    {
        return m_progress;
    }
    ULONG GetMaximum() const
    {
        return m_maximum;
    }
    DWORD GetHttpStatus() const
    {
        return m_httpStatus;
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IBindStatusCallback
    STDMETHODIMP OnStartBinding(DWORD reserved, IBinding* binding) override;
    STDMETHODIMP GetPriority(LONG* priority) override;
    STDMETHODIMP OnLowResource(DWORD reserved) override;
    STDMETHODIMP OnProgress(ULONG progress, ULONG maximum, ULONG statusCode, LPCWSTR statusText) override;
    STDMETHODIMP OnStopBinding(HRESULT result, LPCWSTR error) override;
    STDMETHODIMP GetBindInfo(DWORD* bindFlags, BINDINFO* bindInfo) override;
    STDMETHODIMP OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP OnObjectAvailable(REFIID riid, IUnknown* object) override;
    // IHttpNegotiate: the response's status tells an error page from the file.
    STDMETHODIMP BeginningTransaction(LPCWSTR url, LPCWSTR headers, DWORD reserved, LPWSTR* additional) override;
    STDMETHODIMP OnResponse(DWORD statusCode, LPCWSTR responseHeaders, LPCWSTR requestHeaders,
                            LPWSTR* additional) override;

    // Maps URLMON's result and the HTTP status to a DownloadResult.
    static int ClassifyResult(HRESULT result, DWORD httpStatus, ULONG progress, ULONG maximum);

  private:
    static UINT ThreadProc(LPVOID param);
    void ReleaseBinding();
    bool WaitEnded(DWORD ms) const;

    CString m_url;
    CString m_target;
    volatile LONG m_abort;
    volatile ULONG m_maximum;
    volatile ULONG m_progress;
    IBinding* m_binding;
    download_callback* m_callback;
    DWORD m_startTick;
    DWORD m_httpStatus;
    // The binding is handed over between the worker and Stop on the UI thread.
    CCriticalSection m_bindingLock;
    // Set by Abandon: the worker reports nothing and deletes the object at its end.
    volatile LONG m_abandoned;
};
