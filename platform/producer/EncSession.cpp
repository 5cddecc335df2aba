// The SDK library's entry points: the access paths of its folders and the job factory.
#include "platform/producer/EncodingJob.h"
#include "platform/producer/JobObjects.h"

#include <string.h>

#include <map>
#include <mutex>
#include <string>

namespace
{
std::mutex g_pathLock;

std::map<std::string, std::string>& AccessPaths()
{
    // Never destroyed: static destructors run after Wine has detached its DLLs.
    static std::map<std::string, std::string>* paths = new std::map<std::string, std::string>;
    return *paths;
}

class CJobFactory : public CUnknownImpl<IHXTClassFactory>
{
  public:
    CJobFactory() : CUnknownImpl<IHXTClassFactory>(IID_IUnknownId)
    {
    }

    HX_RESULT STDMETHODCALLTYPE CreateInstance(REFCLSID clsid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        try
        {
            if (GuidsEqual(clsid, CLSID_HXTEncodingJob))
                return CreateObject<CEncodingJob>(reinterpret_cast<IHXTEncodingJob**>(object));
            if (GuidsEqual(clsid, CLSID_HXTPropertyBag))
                return CreateObject<CPropertyBag>(reinterpret_cast<IHXTPropertyBag**>(object));
            if (GuidsEqual(clsid, CLSID_HXTTime))
                return CreateObject<CTime>(reinterpret_cast<IHXTTime**>(object));
            if (GuidsEqual(clsid, CLSID_HXTAudienceList))
                return CreateObject<CAudienceList>(reinterpret_cast<IHXTAudienceList**>(object));
            if (GuidsEqual(clsid, CLSID_HXTOutputProfile))
                return CreateObject<COutputProfile>(reinterpret_cast<IHXTOutputProfile**>(object));
            if (GuidsEqual(clsid, CLSID_HXTMediaProfile))
                return CreateObject<CMediaProfile>(reinterpret_cast<IHXTMediaProfile**>(object));
        }
        catch (...)
        {
            return E_OUTOFMEMORY;
        }
        return E_NOINTERFACE;
    }

    HX_RESULT STDMETHODCALLTYPE BuildInstance(REFCLSID clsid, IHXTPropertyBag* settings, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!settings)
            return E_INVALIDARG;
        try
        {
            if (GuidsEqual(clsid, CLSID_HXTInput))
                return Build<CInput, IHXTInput>(settings, object);
            if (GuidsEqual(clsid, CLSID_HXTPrefilter))
                return Build<CPrefilter, IHXTPrefilter>(settings, object);
            if (GuidsEqual(clsid, CLSID_HXTDestination))
                return Build<CDestination, IHXTDestination>(settings, object);
        }
        catch (...)
        {
            return E_OUTOFMEMORY;
        }
        return E_NOINTERFACE;
    }

  private:
    template <typename T, typename I> static HX_RESULT Build(IHXTPropertyBag* settings, void** object)
    {
        ComPtr<I> made;
        HX_RESULT result = CreateObject<T>(made.Out());
        if (result >= 0)
            result = static_cast<T*>(made.Get())->Build(settings);
        if (result >= 0)
            *object = made.Detach();
        return result;
    }
};
} // namespace

std::string SdkFolder(const char* key)
{
    std::lock_guard<std::mutex> guard(g_pathLock);
    auto found = AccessPaths().find(key);
    if (found == AccessPaths().end() || found->second.empty())
        return std::string();
    std::string folder = found->second;
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

// accessPaths: "key=folder" texts, each NUL-terminated, ending with an empty one.
extern "C" HX_RESULT WINAPI SetDLLAccessPath(const char* accessPaths)
{
    if (!accessPaths)
        return E_POINTER;
    try
    {
        std::lock_guard<std::mutex> guard(g_pathLock);
        for (const char* entry = accessPaths; *entry; entry += strlen(entry) + 1)
        {
            const char* equals = strchr(entry, '=');
            if (!equals)
                return E_INVALIDARG;
            AccessPaths()[std::string(entry, equals)] = equals + 1;
        }
        return HXR_OK;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

extern "C" HX_RESULT WINAPI HXTCreateJobFactory(IHXTClassFactory** factory)
{
    if (!factory)
        return E_POINTER;
    return CreateObject<CJobFactory>(factory);
}
