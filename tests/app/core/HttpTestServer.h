// A small HTTP server for the update tests on 127.0.0.1: serves a table of paths, one connection
// at a time, on a Win32 thread of its own. Bounded: it ends after a number of requests or a time
// limit, and a stalled answer ends when the server stops.
#pragma once

#include <windows.h> // brings winsock.h, which has all this server needs

#include <map>
#include <string>

class HttpTestServer
{
  public:
    enum Behaviour
    {
        kServe,    // the whole body
        kTruncate, // announces the body, sends half and closes
        kStall,    // sends a little of the body, then waits until the server stops
        kClose,    // reads the request and closes without a word
        kSilent,   // reads the request and never answers until the server stops
    };
    struct Route
    {
        int status;
        std::string body;
        Behaviour behaviour;
    };

    HttpTestServer()
    {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        ::listen(m_listener, 8);
        u_long nonBlocking = 1;
        ::ioctlsocket(m_listener, FIONBIO, &nonBlocking);
        m_thread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    }
    ~HttpTestServer()
    {
        ::SetEvent(m_stop);
        ::closesocket(m_listener);
        ::WaitForSingleObject(m_thread, 10000);
        ::CloseHandle(m_thread);
        ::CloseHandle(m_stop);
        ::WSACleanup();
    }
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    // Routes are set before the requests that use them.
    void Set(const std::string& path, int status, const std::string& body, Behaviour behaviour = kServe)
    {
        ::EnterCriticalSection(Lock());
        m_routes[path] = Route{status, body, behaviour};
        ::LeaveCriticalSection(Lock());
    }
    int Port() const
    {
        return m_port;
    }
    std::string BaseUrl() const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + "/";
    }
    int RequestCount(const std::string& path)
    {
        ::EnterCriticalSection(Lock());
        const int count = m_counts[path];
        ::LeaveCriticalSection(Lock());
        return count;
    }

  private:
    static const int kMaxRequests = 200;
    static const DWORD kLifetimeMs = 120000;
    static const DWORD kStallMs = 30000;
    static const int kShutdownSend = 1;
    static const DWORD kPollMs = 10;

    CRITICAL_SECTION* Lock()
    {
        static CRITICAL_SECTION lock;
        static bool ready = [] {
            ::InitializeCriticalSection(&lock);
            return true;
        }();
        (void)ready;
        return &lock;
    }

    static DWORD WINAPI ThreadProc(LPVOID param)
    {
        try
        {
            static_cast<HttpTestServer*>(param)->Serve();
        }
        catch (...)
        {
        }
        return 0;
    }

    void Serve()
    {
        const DWORD start = ::GetTickCount();
        for (int served = 0; served < kMaxRequests && ::GetTickCount() - start < kLifetimeMs;)
        {
            if (::WaitForSingleObject(m_stop, 0) == WAIT_OBJECT_0)
                return;
            // The listener does not block: poll it, so that stopping is seen at once.
            SOCKET client = ::accept(m_listener, nullptr, nullptr);
            if (client == INVALID_SOCKET)
            {
                ::WaitForSingleObject(m_stop, kPollMs);
                continue;
            }
            u_long blocking = 0;
            ::ioctlsocket(client, FIONBIO, &blocking);
            Answer(client);
            ::closesocket(client);
            ++served;
        }
    }

    void Answer(SOCKET client)
    {
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384)
        {
            const int got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                return;
            request.append(buffer, got);
        }
        const size_t first = request.find(' ');
        const size_t second = request.find(' ', first + 1);
        const std::string path = request.substr(first + 1, second - first - 1);
        Route route{404, "<html><body>Not Found</body></html>", kServe};
        ::EnterCriticalSection(Lock());
        ++m_counts[path];
        auto found = m_routes.find(path);
        if (found != m_routes.end())
            route = found->second;
        ::LeaveCriticalSection(Lock());
        if (route.behaviour == kSilent)
            ::WaitForSingleObject(m_stop, kStallMs);
        if (route.behaviour == kClose || route.behaviour == kSilent)
            return;
        std::string head =
            "HTTP/1.1 " + std::to_string(route.status) + (route.status == 200 ? " OK" : " Error") +
            "\r\nContent-Type: application/octet-stream\r\nContent-Length: " + std::to_string(route.body.size()) +
            "\r\nConnection: close\r\n\r\n";
        std::string sent = route.body;
        if (route.behaviour == kTruncate)
            sent = route.body.substr(0, route.body.size() / 2);
        else if (route.behaviour == kStall)
            sent = route.body.substr(0, std::min<size_t>(route.body.size(), 1000));
        head += sent;
        ::send(client, head.data(), int(head.size()), 0);
        if (route.behaviour == kStall)
            ::WaitForSingleObject(m_stop, kStallMs);
        ::shutdown(client, kShutdownSend);
    }

    HANDLE m_stop;
    HANDLE m_thread;
    SOCKET m_listener;
    int m_port = 0;
    std::map<std::string, Route> m_routes;
    std::map<std::string, int> m_counts;
};
