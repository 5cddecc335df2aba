#include "platform/producer/JobObjects.h"

#include <stdio.h>
#include <string.h>

namespace
{
const char* const kKnownPrefilters[] = {"rn-prefilter-blacklevel", "rn-prefilter-audiogain"};
const int kProfileTextCapacity = 256;
const int kMaxAudienceStreams = 16;

std::string JoinPath(const std::string& folder, const char* name)
{
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/')
        return folder + name;
    return folder + "\\" + name;
}

// Owner of a find handle.
struct FindHandle
{
    HANDLE handle;
    explicit FindHandle(HANDLE h) : handle(h)
    {
    }
    ~FindHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            ::FindClose(handle);
    }
};
} // namespace

HX_RESULT CPrefilter::Build(IHXTPropertyBag* settings)
{
    HX_RESULT result = m_store.CopyFrom(settings);
    if (result < 0)
        return result;
    std::string name = m_store.Text("pluginName");
    for (const char* known : kKnownPrefilters)
    {
        if (name == known)
            return HXR_OK;
    }
    return E_FAIL;
}

CInput::CInput() : CBagObject<IHXTInput>(CLSID_HXTInput), m_module(nullptr), m_durationMs(0)
{
}

CInput::~CInput()
{
    ReleaseAll(m_prefilters);
    UnloadPlugin();
}

IHXCommonClassFactory* CInput::HostFactory() const
{
    return m_host.Get();
}

void CInput::UnloadPlugin()
{
    m_filter.Reset();
    m_connection.Reset();
    m_plugin.Reset();
    if (m_module)
    {
        RMAShutdownFunc shutdown = reinterpret_cast<RMAShutdownFunc>(::GetProcAddress(m_module, "RMAShutdown"));
        if (shutdown)
            shutdown();
        ::FreeLibrary(m_module);
    }
    m_module = nullptr;
}

HX_RESULT CInput::AddPrefilter(IHXTPrefilter* prefilter)
{
    if (!prefilter)
        return E_POINTER;
    prefilter->AddRef();
    m_prefilters.push_back(prefilter);
    return HXR_OK;
}

// Loads one library of the plug-ins folder and keeps it when its property table names the plug-in.
bool CInput::LoadPlugin(const std::string& path, const std::string& name, const std::string& type)
{
    HMODULE module = ::LoadLibraryA(path.c_str());
    if (!module)
        return false;
    m_module = module;
    // A Winelib library cannot be loaded again once it was unloaded: keep it mapped for good.
    HMODULE pinned = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, path.c_str(), &pinned);
    RMACreateInstanceFunc create =
        reinterpret_cast<RMACreateInstanceFunc>(::GetProcAddress(module, "RMACreateInstance"));
    ComPtr<IHXPlugin> plugin;
    ComPtr<IHXPluginProperties> properties;
    ComPtr<IHXValues> values;
    if (create && create(m_plugin.Out()) >= 0 && m_plugin &&
        m_plugin->QueryInterface(IID_IHXPlugin, plugin.OutVoid()) >= 0 && plugin->InitPlugin(m_host.Get()) >= 0 &&
        m_plugin->QueryInterface(IID_IHXPluginProperties, properties.OutVoid()) >= 0 &&
        properties->GetProperties(values.Out()) >= 0 && values)
    {
        ComPtr<IHXBuffer> nameText;
        ComPtr<IHXBuffer> typeText;
        if (values->GetPropertyCString("pluginName", nameText.Out()) >= 0 &&
            values->GetPropertyCString("pluginType", typeText.Out()) >= 0 && nameText->GetSize() > 0 &&
            typeText->GetSize() > 0 && name == reinterpret_cast<const char*>(nameText->GetBuffer()) &&
            type == reinterpret_cast<const char*>(typeText->GetBuffer()))
            return true;
    }
    plugin.Reset();
    properties.Reset();
    values.Reset();
    UnloadPlugin();
    return false;
}

HX_RESULT CInput::Build(IHXTPropertyBag* settings)
{
    HX_RESULT result = m_store.CopyFrom(settings);
    if (result < 0)
        return result;
    std::string name = m_store.Text("pluginName");
    std::string type = m_store.Text("pluginType");
    std::string source = m_store.Text("filename");
    std::string folder = SdkFolder("DT_Plugins");
    if (name.empty() || source.empty() || folder.empty())
        return E_FAIL;
    result = CreateObject<CCommonClassFactory>(m_host.Out());
    if (result < 0)
        return result;

    WIN32_FIND_DATAA found;
    FindHandle find(::FindFirstFileA(JoinPath(folder, "*.dll").c_str(), &found));
    if (find.handle == INVALID_HANDLE_VALUE)
        return E_FAIL;
    bool loaded = false;
    do
    {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            loaded = LoadPlugin(JoinPath(folder, found.cFileName), name, type);
    } while (!loaded && ::FindNextFileA(find.handle, &found));
    if (!loaded)
        return E_FAIL;

    ComPtr<IHXTPropertyBag> agentBag;
    if (m_plugin->QueryInterface(IID_IHXTInputFilter, m_filter.OutVoid()) < 0 ||
        m_plugin->QueryInterface(IID_IHXTConnectionAgent, m_connection.OutVoid()) < 0 ||
        m_plugin->QueryInterface(IID_IHXTPropertyBag, agentBag.OutVoid()) < 0)
        return E_FAIL;
    result = m_filter->AttachFactory(m_host.Get());
    if (result < 0)
        return result;
    // The plug-in opens the source here.
    result = agentBag->SetString("filename", source.c_str());
    if (result < 0)
        return result;

    ComPtr<IUnknown> durationObject;
    ComPtr<IHXTTime> duration;
    if (agentBag->GetObjectValue("duration", durationObject.Out()) >= 0 && durationObject &&
        durationObject->QueryInterface(IID_IHXTTime, duration.OutVoid()) >= 0)
        duration->GetTime(&m_durationMs);

    bool hasVideo = false;
    bool hasAudio = false;
    UINT32 outputs = m_connection->GetOutputCount();
    for (UINT32 i = 0; i < outputs; ++i)
    {
        ComPtr<IHXTPropertyBag> stream;
        const char* format = nullptr;
        if (m_connection->GetOutputProperties(i, stream.Out()) < 0 || !stream ||
            stream->GetString("MediaFormat", &format) < 0)
            continue;
        hasVideo = hasVideo || strcmp(format, "UncompressedVideo") == 0;
        hasAudio = hasAudio || strcmp(format, "UncompressedAudio") == 0;
    }
    SetBool("hasVideo", hasVideo);
    SetBool("hasAudio", hasAudio);
    return HXR_OK;
}

HX_RESULT CDestination::Build(IHXTPropertyBag* settings)
{
    HX_RESULT result = m_store.CopyFrom(settings);
    if (result < 0)
        return result;
    if (m_store.Text("filename").empty())
        return E_FAIL;
    return HXR_OK;
}

CAudience::~CAudience()
{
    ReleaseAll(m_streams);
}

HX_RESULT CAudience::GetStream(UINT32 index, IHXTStreamConfig** stream)
{
    return GetListItem(m_streams, index, stream);
}

bool CAudience::Load(const std::string& path)
{
    char text[kProfileTextCapacity];
    ::GetPrivateProfileStringA("Audience", "name", "", text, sizeof(text), path.c_str());
    if (!text[0])
        return false;
    SetString("name", text);
    for (int i = 0; i < kMaxAudienceStreams; ++i)
    {
        char section[32];
        snprintf(section, sizeof(section), "Stream%d", i);
        char type[kProfileTextCapacity];
        char codec[kProfileTextCapacity];
        ::GetPrivateProfileStringA(section, "pluginType", "", type, sizeof(type), path.c_str());
        if (!type[0])
            break;
        ::GetPrivateProfileStringA(section, "codec", "", codec, sizeof(codec), path.c_str());
        UINT bitrate = ::GetPrivateProfileIntA(section, "bitrate", 0, path.c_str());
        CStreamConfig* stream = new CStreamConfig();
        stream->AddRef();
        stream->SetString("pluginType", type);
        stream->SetString("codec", codec);
        stream->SetUINT("bitrate", bitrate);
        m_streams.push_back(stream);
    }
    return true;
}

CAudienceList::~CAudienceList()
{
    ReleaseAll(m_audiences);
}

HX_RESULT CAudienceList::LoadFolder(const char* folder)
{
    if (!folder)
        return E_POINTER;
    WIN32_FIND_DATAA found;
    FindHandle find(::FindFirstFileA(JoinPath(folder, "*.rpad").c_str(), &found));
    if (find.handle == INVALID_HANDLE_VALUE)
        return E_FAIL;
    do
    {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        ComPtr<CAudience> audience(new CAudience());
        audience->AddRef();
        if (audience->Load(JoinPath(folder, found.cFileName)))
            m_audiences.push_back(audience.Detach());
    } while (::FindNextFileA(find.handle, &found));
    return HXR_OK;
}

HX_RESULT CAudienceList::GetAudience(UINT32 index, IHXTAudience** audience)
{
    return GetListItem(m_audiences, index, audience);
}

CMediaProfile::~CMediaProfile()
{
    ReleaseAll(m_audiences);
}

HX_RESULT CMediaProfile::AddAudience(IHXTAudience* audience)
{
    if (!audience)
        return E_POINTER;
    audience->AddRef();
    m_audiences.push_back(audience);
    return HXR_OK;
}

HX_RESULT CMediaProfile::GetAudience(UINT32 index, IHXTAudience** audience)
{
    return GetListItem(m_audiences, index, audience);
}

COutputProfile::~COutputProfile()
{
    ReleaseAll(m_destinations);
}

HX_RESULT COutputProfile::AddDestination(IHXTDestination* destination)
{
    if (!destination)
        return E_POINTER;
    destination->AddRef();
    m_destinations.push_back(destination);
    return HXR_OK;
}

HX_RESULT COutputProfile::SetMediaProfile(IHXTMediaProfile* profile)
{
    if (!profile)
        return E_POINTER;
    profile->AddRef();
    m_mediaProfile.Reset();
    *m_mediaProfile.Out() = profile;
    return HXR_OK;
}

HX_RESULT COutputProfile::GetMediaProfile(IHXTMediaProfile** profile)
{
    if (!profile)
        return E_POINTER;
    *profile = m_mediaProfile.Get();
    if (!*profile)
        return E_FAIL;
    (*profile)->AddRef();
    return HXR_OK;
}
