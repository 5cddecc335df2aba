// The small objects the SDK library hands to input plug-ins and to the program: buffers, value
// collections, time values, media formats, media samples with their allocator, and the common
// class factory that makes them (which is also the context a plug-in is attached to).
#pragma once

#include "platform/producer/ProducerSdk.h"
#include "platform/producer/UnknownImpl.h"

#include <new>
#include <string>
#include <vector>

class CBuffer : public CUnknownImpl<IHXBuffer>
{
  public:
    CBuffer() : CUnknownImpl<IHXBuffer>(IID_IHXBuffer)
    {
    }
    HX_RESULT STDMETHODCALLTYPE Set(const UCHAR* data, UINT32 length) override;
    HX_RESULT STDMETHODCALLTYPE SetSize(UINT32 length) override;
    UINT32 STDMETHODCALLTYPE GetSize() override
    {
        return (UINT32)m_bytes.size();
    }
    UCHAR* STDMETHODCALLTYPE GetBuffer() override
    {
        return m_bytes.data();
    }

  private:
    std::vector<UCHAR> m_bytes;
};

class CValues : public CUnknownImpl<IHXValues>
{
  public:
    CValues() : CUnknownImpl<IHXValues>(IID_IHXValues)
    {
    }
    ~CValues() override;
    HX_RESULT STDMETHODCALLTYPE SetPropertyULONG32(const char* key, UINT32 value) override;
    HX_RESULT STDMETHODCALLTYPE GetPropertyULONG32(const char* key, UINT32* value) override;
    HX_RESULT STDMETHODCALLTYPE SetPropertyBuffer(const char* key, IHXBuffer* value) override;
    HX_RESULT STDMETHODCALLTYPE GetPropertyBuffer(const char* key, IHXBuffer** value) override;
    HX_RESULT STDMETHODCALLTYPE SetPropertyCString(const char* key, IHXBuffer* value) override;
    HX_RESULT STDMETHODCALLTYPE GetPropertyCString(const char* key, IHXBuffer** value) override;
    UINT32 STDMETHODCALLTYPE GetPropertyCount() override
    {
        return (UINT32)m_entries.size();
    }
    HX_RESULT STDMETHODCALLTYPE GetPropertyAt(UINT32 index, const char** key, UINT32* kind) override;

  private:
    struct Entry
    {
        std::string key;
        UINT32 kind;
        UINT32 number;
        IHXBuffer* buffer; // one reference
    };
    HX_RESULT Store(const char* key, UINT32 kind, UINT32 number, IHXBuffer* buffer);
    HX_RESULT Load(const char* key, UINT32 kind, UINT32* number, IHXBuffer** buffer);
    std::vector<Entry> m_entries;
};

class CTime : public CUnknownImpl<IHXTTime>
{
  public:
    CTime() : CUnknownImpl<IHXTTime>(IID_IHXTTime), m_milliseconds(0)
    {
    }
    HX_RESULT STDMETHODCALLTYPE SetTime(INT64 milliseconds) override;
    HX_RESULT STDMETHODCALLTYPE GetTime(INT64* milliseconds) override;

  private:
    INT64 m_milliseconds;
};

// Records the description a plug-in gives of one stream in the format bag.
class CMediaFormat : public CUnknownImpl<IHXTMediaFormat>
{
  public:
    CMediaFormat() : CUnknownImpl<IHXTMediaFormat>(IID_IHXTMediaFormat), m_closed(false)
    {
    }
    HX_RESULT STDMETHODCALLTYPE Init(const char* pluginType, IHXTPropertyBag* source, const char* pluginName) override;
    HX_RESULT STDMETHODCALLTYPE DescribeVideo(IHXTPropertyBag* format, IHXTPropertyBag* source, UINT32 stream,
                                              INT32 width, INT32 height, float frameRate, const char* mediaFormat,
                                              IHXTTime* duration, UINT32 reserved1, UINT32 reserved2) override;
    HX_RESULT STDMETHODCALLTYPE DescribeAudio(IHXTPropertyBag* format, IHXTPropertyBag* source, UINT32 stream,
                                              UINT32 channelFormat, UINT32 sampleFormat, UINT32 sampleRate,
                                              IHXTTime* duration, UINT32 reserved1, UINT32 reserved2) override;
    HX_RESULT STDMETHODCALLTYPE Close() override;

  private:
    bool m_closed;
};

class CMediaSample : public CUnknownImpl<IHXTMediaSample>
{
  public:
    explicit CMediaSample(UINT32 size);
    UCHAR* STDMETHODCALLTYPE GetDataStartForWriting() override
    {
        return m_bytes.data();
    }
    UINT32 STDMETHODCALLTYPE GetAllocatedSize() override
    {
        return (UINT32)m_bytes.size();
    }
    UINT32 STDMETHODCALLTYPE GetDataSize() override
    {
        return m_dataSize;
    }
    HX_RESULT STDMETHODCALLTYPE SetDataSize(UINT32 size) override;
    UINT32 STDMETHODCALLTYPE GetSampleFlags() override
    {
        return m_flags;
    }
    HX_RESULT STDMETHODCALLTYPE SetSampleFlags(UINT32 flags) override;
    HX_RESULT STDMETHODCALLTYPE GetTime(INT64* start, INT64* end) override;
    HX_RESULT STDMETHODCALLTYPE SetTime(INT64 start, INT64 end) override;

  private:
    std::vector<UCHAR> m_bytes;
    UINT32 m_dataSize;
    UINT32 m_flags;
    INT64 m_start;
    INT64 m_end;
};

class CSampleAllocator : public CUnknownImpl<IHXTSampleAllocator>
{
  public:
    // Largest sample handed out: a 4096 x 4096 BGRA picture.
    static const UINT32 kMaxSampleSize = 4096 * 4096 * 4;
    CSampleAllocator() : CUnknownImpl<IHXTSampleAllocator>(IID_IUnknownId)
    {
    }
    HX_RESULT STDMETHODCALLTYPE GetMediaSampleOfSize(UINT32 size, IHXTMediaSample** sample) override;
};

class CCommonClassFactory : public CUnknownImpl<IHXCommonClassFactory>
{
  public:
    CCommonClassFactory() : CUnknownImpl<IHXCommonClassFactory>(IID_IHXCommonClassFactory)
    {
    }
    HX_RESULT STDMETHODCALLTYPE CreateInstance(REFCLSID clsid, void** object) override;
};

// Makes a new object of class T and hands out interface I with one reference.
template <typename T, typename I> HX_RESULT CreateObject(I** out)
{
    if (!out)
        return E_POINTER;
    T* object = new (std::nothrow) T();
    *out = object;
    if (!object)
        return E_OUTOFMEMORY;
    object->AddRef();
    return HXR_OK;
}
