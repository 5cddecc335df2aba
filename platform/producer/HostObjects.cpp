#include "platform/producer/HostObjects.h"

#include "platform/producer/PropertyStore.h"

#include <string.h>

HX_RESULT CBuffer::Set(const UCHAR* data, UINT32 length)
{
    if (!data && length)
        return E_POINTER;
    m_bytes.assign(data, data + length);
    return HXR_OK;
}

HX_RESULT CBuffer::SetSize(UINT32 length)
{
    m_bytes.resize(length);
    return HXR_OK;
}

CValues::~CValues()
{
    for (Entry& entry : m_entries)
    {
        if (entry.buffer)
            entry.buffer->Release();
    }
}

HX_RESULT CValues::Store(const char* key, UINT32 kind, UINT32 number, IHXBuffer* buffer)
{
    if (!key || (kind != kHXValueUInt32 && !buffer))
        return E_POINTER;
    if (buffer)
        buffer->AddRef();
    for (Entry& entry : m_entries)
    {
        if (entry.key == key)
        {
            if (entry.buffer)
                entry.buffer->Release();
            entry.kind = kind;
            entry.number = number;
            entry.buffer = buffer;
            return HXR_OK;
        }
    }
    m_entries.push_back({key, kind, number, buffer});
    return HXR_OK;
}

HX_RESULT CValues::Load(const char* key, UINT32 kind, UINT32* number, IHXBuffer** buffer)
{
    if (!key || (!number && !buffer))
        return E_POINTER;
    for (Entry& entry : m_entries)
    {
        if (entry.key != key || entry.kind != kind)
            continue;
        if (number)
            *number = entry.number;
        if (buffer)
        {
            *buffer = entry.buffer;
            entry.buffer->AddRef();
        }
        return HXR_OK;
    }
    return E_FAIL;
}

HX_RESULT CValues::SetPropertyULONG32(const char* key, UINT32 value)
{
    return Store(key, kHXValueUInt32, value, nullptr);
}

HX_RESULT CValues::GetPropertyULONG32(const char* key, UINT32* value)
{
    return Load(key, kHXValueUInt32, value, nullptr);
}

HX_RESULT CValues::SetPropertyBuffer(const char* key, IHXBuffer* value)
{
    return Store(key, kHXValueBuffer, 0, value);
}

HX_RESULT CValues::GetPropertyBuffer(const char* key, IHXBuffer** value)
{
    return Load(key, kHXValueBuffer, nullptr, value);
}

HX_RESULT CValues::SetPropertyCString(const char* key, IHXBuffer* value)
{
    return Store(key, kHXValueCString, 0, value);
}

HX_RESULT CValues::GetPropertyCString(const char* key, IHXBuffer** value)
{
    return Load(key, kHXValueCString, nullptr, value);
}

HX_RESULT CValues::GetPropertyAt(UINT32 index, const char** key, UINT32* kind)
{
    if (!key || !kind)
        return E_POINTER;
    if (index >= m_entries.size())
        return E_INVALIDARG;
    *key = m_entries[index].key.c_str();
    *kind = m_entries[index].kind;
    return HXR_OK;
}

HX_RESULT CTime::SetTime(INT64 milliseconds)
{
    m_milliseconds = milliseconds;
    return HXR_OK;
}

HX_RESULT CTime::GetTime(INT64* milliseconds)
{
    if (!milliseconds)
        return E_POINTER;
    *milliseconds = m_milliseconds;
    return HXR_OK;
}

HX_RESULT CMediaFormat::Init(const char* pluginType, IHXTPropertyBag* source, const char* pluginName)
{
    if (!pluginType || !pluginName)
        return E_POINTER;
    (void)source;
    m_closed = false;
    return HXR_OK;
}

HX_RESULT CMediaFormat::DescribeVideo(IHXTPropertyBag* format, IHXTPropertyBag*, UINT32 stream, INT32 width,
                                      INT32 height, float frameRate, const char* mediaFormat, IHXTTime* duration,
                                      UINT32, UINT32)
{
    if (!format || !mediaFormat)
        return E_POINTER;
    if (m_closed)
        return HXR_UNEXPECTED_STATE;
    format->SetString("MediaFormat", mediaFormat);
    format->SetUINT("stream", stream);
    format->SetInt("videoFrameWidth", width);
    format->SetInt("videoFrameHeight", height);
    format->SetDouble("videoFrameRate", frameRate);
    if (duration)
        format->SetObjectValue("duration", duration);
    return HXR_OK;
}

HX_RESULT CMediaFormat::DescribeAudio(IHXTPropertyBag* format, IHXTPropertyBag*, UINT32 stream, UINT32 channelFormat,
                                      UINT32 sampleFormat, UINT32 sampleRate, IHXTTime* duration, UINT32, UINT32)
{
    if (!format)
        return E_POINTER;
    if (m_closed)
        return HXR_UNEXPECTED_STATE;
    format->SetString("MediaFormat", "UncompressedAudio");
    format->SetUINT("stream", stream);
    format->SetUINT("audioChannelFormat", channelFormat);
    format->SetUINT("audioSampleFormat", sampleFormat);
    format->SetUINT("audioSampleRate", sampleRate);
    if (duration)
        format->SetObjectValue("duration", duration);
    return HXR_OK;
}

HX_RESULT CMediaFormat::Close()
{
    m_closed = true;
    return HXR_OK;
}

CMediaSample::CMediaSample(UINT32 size)
    : CUnknownImpl<IHXTMediaSample>(IID_IUnknownId), m_bytes(size), m_dataSize(0), m_flags(0), m_start(0), m_end(0)
{
}

HX_RESULT CMediaSample::SetDataSize(UINT32 size)
{
    if (size > m_bytes.size())
        return E_INVALIDARG;
    m_dataSize = size;
    return HXR_OK;
}

HX_RESULT CMediaSample::SetSampleFlags(UINT32 flags)
{
    m_flags = flags;
    return HXR_OK;
}

HX_RESULT CMediaSample::GetTime(INT64* start, INT64* end)
{
    if (!start || !end)
        return E_POINTER;
    *start = m_start;
    *end = m_end;
    return HXR_OK;
}

HX_RESULT CMediaSample::SetTime(INT64 start, INT64 end)
{
    m_start = start;
    m_end = end;
    return HXR_OK;
}

HX_RESULT CSampleAllocator::GetMediaSampleOfSize(UINT32 size, IHXTMediaSample** sample)
{
    if (!sample)
        return E_POINTER;
    *sample = nullptr;
    if (size > kMaxSampleSize)
        return E_OUTOFMEMORY;
    try
    {
        CMediaSample* made = new CMediaSample(size);
        made->AddRef();
        *sample = made;
        return HXR_OK;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HX_RESULT CCommonClassFactory::CreateInstance(REFCLSID clsid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (GuidsEqual(clsid, CLSID_IHXValues))
        return CreateObject<CValues>(reinterpret_cast<IHXValues**>(object));
    if (GuidsEqual(clsid, CLSID_IHXBuffer))
        return CreateObject<CBuffer>(reinterpret_cast<IHXBuffer**>(object));
    if (GuidsEqual(clsid, CLSID_HXTPropertyBag))
        return CreateObject<CPropertyBag>(reinterpret_cast<IHXTPropertyBag**>(object));
    if (GuidsEqual(clsid, CLSID_HXTTime))
        return CreateObject<CTime>(reinterpret_cast<IHXTTime**>(object));
    if (GuidsEqual(clsid, CLSID_HXTMediaFormat))
        return CreateObject<CMediaFormat>(reinterpret_cast<IHXTMediaFormat**>(object));
    return E_NOINTERFACE;
}
