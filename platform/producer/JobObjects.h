// The parts of an encoding job that the program assembles: the input with its plug-in, prefilters,
// the file destination, output and media profiles, and the audiences with their stream settings.
#pragma once

#include "platform/producer/ComPtr.h"
#include "platform/producer/HostObjects.h"
#include "platform/producer/PropertyStore.h"

#include <string>
#include <vector>

class CCommonClassFactory;

// The folders SetDLLAccessPath named, each ending in "\" (empty when not set).
std::string SdkFolder(const char* key);

class CPrefilter : public CBagObject<IHXTPrefilter>
{
  public:
    CPrefilter() : CBagObject<IHXTPrefilter>(CLSID_HXTPrefilter)
    {
    }
    // Only the library's own prefilters are known.
    HX_RESULT Build(IHXTPropertyBag* settings);
};

// The input: finds the plug-in named by "pluginName" and "pluginType" in the plug-ins folder,
// attaches it and hands it the source ("filename").
class CInput : public CBagObject<IHXTInput>
{
  public:
    CInput();
    ~CInput() override;

    HX_RESULT STDMETHODCALLTYPE AddPrefilter(IHXTPrefilter* prefilter) override;
    HX_RESULT Build(IHXTPropertyBag* settings);

    IHXTConnectionAgent* Connection() const
    {
        return m_connection.Get();
    }
    IHXTInputFilter* Filter() const
    {
        return m_filter.Get();
    }
    IHXCommonClassFactory* HostFactory() const;
    // The source's duration as the plug-in reported it; 0 when unknown.
    INT64 DurationMs() const
    {
        return m_durationMs;
    }

  private:
    bool LoadPlugin(const std::string& path, const std::string& name, const std::string& type);
    void UnloadPlugin();

    HMODULE m_module;
    INT64 m_durationMs;
    ComPtr<IUnknown> m_plugin;
    ComPtr<IHXTConnectionAgent> m_connection;
    ComPtr<IHXTInputFilter> m_filter;
    ComPtr<IHXCommonClassFactory> m_host;
    std::vector<IHXTPrefilter*> m_prefilters; // one reference each
};

class CDestination : public CBagObject<IHXTDestination>
{
  public:
    CDestination() : CBagObject<IHXTDestination>(CLSID_HXTDestination)
    {
    }
    HX_RESULT Build(IHXTPropertyBag* settings);
};

class CStreamConfig : public CBagObject<IHXTStreamConfig>
{
  public:
    CStreamConfig() : CBagObject<IHXTStreamConfig>(IID_IUnknownId)
    {
    }
};

class CAudience : public CBagObject<IHXTAudience>
{
  public:
    CAudience() : CBagObject<IHXTAudience>(IID_IUnknownId)
    {
    }
    ~CAudience() override;
    UINT32 STDMETHODCALLTYPE GetStreamCount() override
    {
        return (UINT32)m_streams.size();
    }
    HX_RESULT STDMETHODCALLTYPE GetStream(UINT32 index, IHXTStreamConfig** stream) override;
    // Reads an audience file: [Audience] name=..., then [Stream0], [Stream1], ... with pluginType,
    // codec and bitrate. False when the file names no audience.
    bool Load(const std::string& path);

  private:
    std::vector<IHXTStreamConfig*> m_streams; // one reference each
};

// The audiences of every audience file ("*.rpad") in a folder.
class CAudienceList : public CUnknownImpl<IHXTAudienceList>
{
  public:
    CAudienceList() : CUnknownImpl<IHXTAudienceList>(IID_IUnknownId)
    {
    }
    ~CAudienceList() override;
    HX_RESULT STDMETHODCALLTYPE LoadFolder(const char* folder) override;
    UINT32 STDMETHODCALLTYPE GetAudienceCount() override
    {
        return (UINT32)m_audiences.size();
    }
    HX_RESULT STDMETHODCALLTYPE GetAudience(UINT32 index, IHXTAudience** audience) override;

  private:
    std::vector<IHXTAudience*> m_audiences; // one reference each
};

class CMediaProfile : public CBagObject<IHXTMediaProfile>
{
  public:
    CMediaProfile() : CBagObject<IHXTMediaProfile>(CLSID_HXTMediaProfile)
    {
    }
    ~CMediaProfile() override;
    HX_RESULT STDMETHODCALLTYPE AddAudience(IHXTAudience* audience) override;
    UINT32 STDMETHODCALLTYPE GetAudienceCount() override
    {
        return (UINT32)m_audiences.size();
    }
    HX_RESULT STDMETHODCALLTYPE GetAudience(UINT32 index, IHXTAudience** audience) override;

  private:
    std::vector<IHXTAudience*> m_audiences; // one reference each
};

class COutputProfile : public CBagObject<IHXTOutputProfile>
{
  public:
    COutputProfile() : CBagObject<IHXTOutputProfile>(CLSID_HXTOutputProfile)
    {
    }
    ~COutputProfile() override;
    HX_RESULT STDMETHODCALLTYPE AddDestination(IHXTDestination* destination) override;
    HX_RESULT STDMETHODCALLTYPE SetMediaProfile(IHXTMediaProfile* profile) override;
    HX_RESULT STDMETHODCALLTYPE GetMediaProfile(IHXTMediaProfile** profile) override;

    IHXTDestination* Destination(size_t index) const
    {
        return index < m_destinations.size() ? m_destinations[index] : nullptr;
    }
    IHXTMediaProfile* MediaProfile() const
    {
        return m_mediaProfile.Get();
    }

  private:
    std::vector<IHXTDestination*> m_destinations; // one reference each
    ComPtr<IHXTMediaProfile> m_mediaProfile;
};

// Releases every interface of a list of held references.
template <typename I> void ReleaseAll(std::vector<I*>& list)
{
    for (I* item : list)
        item->Release();
    list.clear();
}

// Hands out item index of a list with one added reference.
template <typename I> HX_RESULT GetListItem(const std::vector<I*>& list, UINT32 index, I** item)
{
    if (!item)
        return E_POINTER;
    *item = nullptr;
    if (index >= list.size())
        return E_INVALIDARG;
    *item = list[index];
    (*item)->AddRef();
    return HXR_OK;
}
