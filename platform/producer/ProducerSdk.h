// The interfaces of the RealMedia producer SDK as the RealMedia job, the Loomgate plug-in and our
// SDK library share them: reference-counted objects whose operations return 32-bit result codes
// (negative for failure). The order of the operations in each interface is part of the contract.
#pragma once

#include <windows.h>
#include <unknwn.h>

typedef HRESULT HX_RESULT;

const HX_RESULT HXR_OK = 0;
const HX_RESULT HXR_UNEXPECTED_STATE = (HX_RESULT)0x80040258;   // the object is closed for changes
const HX_RESULT HXR_NO_MORE_PROPERTIES = (HX_RESULT)0x00040012; // a property enumerator is at its end
const HX_RESULT HXR_CANCELLED = (HX_RESULT)0x80004004;          // the encoding was cancelled

// Class and interface ids. SDK objects, made by the job factory:
inline const GUID CLSID_HXTEncodingJob = {0x06ADF590, 0x64C6, 0x48FC, {0xA5, 0xFB, 0xDA, 0x1A, 0xB6, 0xFB, 0x45, 0xF4}};
inline const GUID CLSID_HXTPropertyBag = {0x4C959CF0, 0x35F9, 0x40F2, {0x84, 0xDD, 0x09, 0x15, 0x37, 0x70, 0x2C, 0x34}};
inline const GUID CLSID_HXTTime = {0xFFF0FC1A, 0xAA93, 0x4108, {0xB6, 0x9D, 0x57, 0xE5, 0x04, 0xF2, 0x52, 0x13}};
inline const GUID CLSID_HXTAudienceList = {
    0x45D2135C, 0x6B46, 0x4D02, {0xB7, 0xEC, 0xE2, 0x78, 0x91, 0xBC, 0x75, 0x1A}};
inline const GUID CLSID_HXTInput = {0x8EF8B674, 0x85AA, 0x428A, {0xBD, 0xAD, 0x12, 0x55, 0x29, 0xE7, 0x47, 0x02}};
inline const GUID CLSID_HXTPrefilter = {0x2717FED5, 0xB783, 0x41F9, {0xBC, 0x57, 0x79, 0xD6, 0x3E, 0xEA, 0xA1, 0xF1}};
inline const GUID CLSID_HXTDestination = {0xB09208E7, 0xA692, 0x4ACF, {0x9E, 0x59, 0x74, 0x64, 0xD7, 0xD5, 0x34, 0x89}};
inline const GUID CLSID_HXTOutputProfile = {
    0x27F7E0E3, 0x6FD2, 0x11D5, {0x96, 0xE7, 0x00, 0xD0, 0xB7, 0x06, 0x8A, 0x6E}};
inline const GUID CLSID_HXTMediaProfile = {
    0xACAB0452, 0x6FED, 0x11D5, {0x96, 0xE7, 0x00, 0xD0, 0xB7, 0x06, 0x8A, 0x6E}};
// Made by the plug-in host's common class factory:
inline const GUID CLSID_IHXValues = {0x00001302, 0x0901, 0x11D1, {0x8B, 0x06, 0x00, 0xA0, 0x24, 0x40, 0x6D, 0x59}};
inline const GUID CLSID_IHXBuffer = {0x00001300, 0x0901, 0x11D1, {0x8B, 0x06, 0x00, 0xA0, 0x24, 0x40, 0x6D, 0x59}};
inline const GUID CLSID_HXTMediaFormat = {0xDF964549, 0x6EF1, 0x40A0, {0xAA, 0xB6, 0x9B, 0x7E, 0x50, 0xAE, 0x4B, 0x8E}};
// Interfaces:
inline const GUID IID_IUnknownId = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline const GUID IID_IHXCommonClassFactory = {
    0x00000000, 0x0901, 0x11D1, {0x8B, 0x06, 0x00, 0xA0, 0x24, 0x40, 0x6D, 0x59}};
inline const GUID IID_IHXPlugin = {0x00000C00, 0x0901, 0x11D1, {0x8B, 0x06, 0x00, 0xA0, 0x24, 0x40, 0x6D, 0x59}};
inline const GUID IID_IHXPluginProperties = {
    0x00002901, 0x0901, 0x11D1, {0x8B, 0x06, 0x00, 0xA0, 0x24, 0x40, 0x6D, 0x59}};
inline const GUID IID_IHXValues = CLSID_IHXValues;
inline const GUID IID_IHXBuffer = CLSID_IHXBuffer;
inline const GUID IID_IHXTPropertyBag = CLSID_HXTPropertyBag;
inline const GUID IID_IHXTConfigurationAgent = {
    0x4DEDAA51, 0x1D00, 0x4F85, {0xB8, 0x12, 0x17, 0x5A, 0x37, 0x7E, 0x59, 0x64}};
inline const GUID IID_IHXTConnectionAgent = {
    0x079FA228, 0xB71E, 0x49C0, {0x92, 0xDA, 0x8B, 0xAE, 0x07, 0xE6, 0xF5, 0x21}};
inline const GUID IID_IHXTFilter = {0x00627955, 0x83B2, 0x407F, {0x86, 0x2D, 0x92, 0x4F, 0xF1, 0x51, 0x7E, 0xA9}};
inline const GUID IID_IHXTInputFilter = {0x9B9E205B, 0xCC01, 0x4BFC, {0x92, 0xF9, 0xE5, 0x68, 0xF8, 0x8B, 0x73, 0x6C}};
inline const GUID IID_IHXTEventSink = {0x7D8D5E8D, 0x9A0D, 0x459A, {0xB9, 0xC8, 0x73, 0x9B, 0x9F, 0xEE, 0xA8, 0x2F}};
inline const GUID IID_IHXTTime = CLSID_HXTTime;
inline const GUID IID_IHXTMediaFormat = CLSID_HXTMediaFormat;

// Property types of a property bag (the key of ApplyConfiguration's copy).
enum HXTPropertyType : UINT32
{
    kHXTPropFlag = 1,
    kHXTPropUInt32 = 2,
    kHXTPropInt32 = 3,
    kHXTPropInt64 = 4,
    kHXTPropDouble = 5,
    kHXTPropString = 6,
    kHXTPropInt8 = 7,
    kHXTPropUInt8 = 8,
    kHXTPropInt16 = 9,
    kHXTPropUInt16 = 10,
    kHXTPropUInt64 = 11,
    kHXTPropFloat = 12,
    kHXTPropGuid = 13,
    kHXTPropPointer = 14,
    kHXTPropObject = 15,
    kHXTPropBag = 16,
};

struct IHXTPropertyBag;

// One property's value, read from an IHXTProperty. text and object belong to the property.
struct HXTPropertyValue
{
    UINT32 type;
    union {
        BOOL flag;
        UINT32 u32;
        INT32 i32;
        INT64 i64;
        double d;
        INT8 i8;
        UINT8 u8;
        INT16 i16;
        UINT16 u16;
        UINT64 u64;
        float f;
        GUID guid;
        UINT_PTR pointer;
    };
    const char* text;
    IUnknown* object; // kHXTPropObject and kHXTPropBag
};

struct IHXTProperty : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE GetKey(const char** key) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetValue(HXTPropertyValue* value) = 0;
};

struct IHXTPropertyEnumerator : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE Reset() = 0;
    // HXR_NO_MORE_PROPERTIES after the last one.
    virtual HX_RESULT STDMETHODCALLTYPE Next(IHXTProperty** property) = 0;
};

// A typed key-value store; every SDK object of an encoding job is one as well. Texts handed out
// by GetString stay owned by the bag and valid until the key changes.
struct IHXTPropertyBag : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE GetPropertyCount(UINT32* count) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetBool(const char* key, BOOL* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetBool(const char* key, BOOL value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetUINT(const char* key, UINT32* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetUINT(const char* key, UINT32 value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetInt(const char* key, INT32* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetInt(const char* key, INT32 value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetInt64(const char* key, INT64* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetInt64(const char* key, INT64 value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetDouble(const char* key, double* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetDouble(const char* key, double value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetString(const char* key, const char** value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetString(const char* key, const char* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetInt8(const char* key, INT8* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetInt8(const char* key, INT8 value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetUInt8(const char* key, UINT8* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetUInt8(const char* key, UINT8 value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetInt16(const char* key, INT16* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetInt16(const char* key, INT16 value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetUInt16(const char* key, UINT16* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetUInt16(const char* key, UINT16 value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetUInt64(const char* key, UINT64* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetUInt64(const char* key, UINT64 value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetFloat(const char* key, float* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetFloat(const char* key, float value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetGuid(const char* key, GUID* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetGuid(const char* key, const GUID* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetPointer(const char* key, UINT_PTR* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetPointer(const char* key, UINT_PTR value) = 0;
    // Objects are handed out with one added reference.
    virtual HX_RESULT STDMETHODCALLTYPE GetObjectValue(const char* key, IUnknown** value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetObjectValue(const char* key, IUnknown* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetProperty(const char* key, IHXTProperty** property) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetProperty(IHXTProperty* property) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetBag(const char* key, IHXTPropertyBag** value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetBag(const char* key, IHXTPropertyBag* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE Remove(const char* key) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetEnumerator(IHXTPropertyEnumerator** enumerator) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE RemoveAll() = 0;
};

// A bag that takes a whole configuration at once and reports the property it refused.
struct IHXTConfigurationAgent : IHXTPropertyBag
{
    virtual HX_RESULT STDMETHODCALLTYPE ApplyConfiguration(IHXTPropertyBag* input, IHXTPropertyBag** rejected) = 0;
};

struct IHXBuffer : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE Set(const UCHAR* data, UINT32 length) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetSize(UINT32 length) = 0;
    virtual UINT32 STDMETHODCALLTYPE GetSize() = 0;
    virtual UCHAR* STDMETHODCALLTYPE GetBuffer() = 0;
};

// Kinds that IHXValues::GetPropertyAt reports, the same as a plug-in's property table kinds.
const UINT32 kHXValueUInt32 = 1;
const UINT32 kHXValueCString = 2;
const UINT32 kHXValueBuffer = 3;

// An ordered collection of 32-bit, text and buffer values (a plug-in's description).
struct IHXValues : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE SetPropertyULONG32(const char* key, UINT32 value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetPropertyULONG32(const char* key, UINT32* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetPropertyBuffer(const char* key, IHXBuffer* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetPropertyBuffer(const char* key, IHXBuffer** value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetPropertyCString(const char* key, IHXBuffer* value) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetPropertyCString(const char* key, IHXBuffer** value) = 0;
    virtual UINT32 STDMETHODCALLTYPE GetPropertyCount() = 0;
    // Key and kind of the property at index, in the order they were first set.
    virtual HX_RESULT STDMETHODCALLTYPE GetPropertyAt(UINT32 index, const char** key, UINT32* kind) = 0;
};

struct IHXCommonClassFactory : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE CreateInstance(REFCLSID clsid, void** object) = 0;
};

struct IHXPlugin : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE GetPluginInfo(BOOL* loadMultiple, const char** description,
                                                      const char** copyright, const char** moreInfoUrl,
                                                      UINT32* version) = 0;
    // context answers IHXCommonClassFactory.
    virtual HX_RESULT STDMETHODCALLTYPE InitPlugin(IUnknown* context) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetPluginExtension(void** extension) = 0;
};

struct IHXPluginProperties : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE GetProperties(IHXValues** properties) = 0;
};

// A point in time or a length in milliseconds.
struct IHXTTime : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE SetTime(INT64 milliseconds) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetTime(INT64* milliseconds) = 0;
};

// Sample flags.
const UINT32 kHXTSampleEndOfStream = 4;
// With kHXTSampleEndOfStream: the stream ended because reading the source failed.
const UINT32 kHXTSampleReadFailed = 8;

// One piece of uncompressed media travelling from an input to the encoder; times in milliseconds.
struct IHXTMediaSample : IUnknown
{
    virtual UCHAR* STDMETHODCALLTYPE GetDataStartForWriting() = 0;
    virtual UINT32 STDMETHODCALLTYPE GetAllocatedSize() = 0;
    virtual UINT32 STDMETHODCALLTYPE GetDataSize() = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetDataSize(UINT32 size) = 0;
    virtual UINT32 STDMETHODCALLTYPE GetSampleFlags() = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetSampleFlags(UINT32 flags) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetTime(INT64* start, INT64* end) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetTime(INT64 start, INT64 end) = 0;
};

struct IHXTSampleAllocator : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE GetMediaSampleOfSize(UINT32 size, IHXTMediaSample** sample) = 0;
};

// Video colour format of an uncompressed video stream: 32-bit BGRA pixels, top row first.
const UINT32 kHXTColorFormatBGRA = 3;

// Describes one stream of an input to the SDK.
struct IHXTMediaFormat : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE Init(const char* pluginType, IHXTPropertyBag* source,
                                             const char* pluginName) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE DescribeVideo(IHXTPropertyBag* format, IHXTPropertyBag* source, UINT32 stream,
                                                      INT32 width, INT32 height, float frameRate,
                                                      const char* mediaFormat, IHXTTime* duration, UINT32 reserved1,
                                                      UINT32 reserved2) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE DescribeAudio(IHXTPropertyBag* format, IHXTPropertyBag* source, UINT32 stream,
                                                      UINT32 channelFormat, UINT32 sampleFormat, UINT32 sampleRate,
                                                      IHXTTime* duration, UINT32 reserved1, UINT32 reserved2) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE Close() = 0;
};

// An input plug-in's outputs: one per stream of the source.
struct IHXTConnectionAgent : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE SetConnectionContext(IUnknown* context) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetInputCount(UINT32* count) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetInputProperties(UINT32 index, IHXTPropertyBag** properties) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetInputSource(UINT32 index, IUnknown* source) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetInputSource(UINT32 index, IUnknown** source) = 0;
    // The number of outputs itself, not a result code.
    virtual UINT32 STDMETHODCALLTYPE GetOutputCount() = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetOutputProperties(UINT32 index, IHXTPropertyBag** properties) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetOutputTarget(UINT32 index, IUnknown** target) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetPreferredOutputProperties(UINT32 index, IHXTPropertyBag** properties) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetOutputTarget(UINT32 index, IUnknown* target) = 0;
};

struct IHXTFilter : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE AttachFactory(IHXCommonClassFactory* factory) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE Prepare() = 0;
    virtual HX_RESULT STDMETHODCALLTYPE OnInitialize(IUnknown* context) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE OnFlush() = 0;
    // The SDK has finished with output index.
    virtual HX_RESULT STDMETHODCALLTYPE OnUnInitialize(UINT32 index) = 0;
};

struct IHXTInputFilter : IHXTFilter
{
    virtual HX_RESULT STDMETHODCALLTYPE SetSampleAllocator(UINT32 index, IHXTSampleAllocator* allocator) = 0;
    // The sample (one reference) passes to the caller; flag kHXTSampleEndOfStream marks the last one.
    virtual HX_RESULT STDMETHODCALLTYPE PullSample(UINT32 index, IHXTMediaSample** sample) = 0;
};

// Event types of an encoding job; the value of the progress events is a percentage.
const UINT32 kHXTEventEncodingStarted = 0;
const UINT32 kHXTEventSecondPassProgress = 6;
const UINT32 kHXTEventFirstPassProgress = 7;

struct IHXTEventSink : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE OnEvent(UINT32 type, const UINT32* value, void* reserved1, void* reserved2) = 0;
};

struct IHXTEventManager : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE Subscribe(IHXTEventSink* sink) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE Unsubscribe(IHXTEventSink* sink) = 0;
};

struct IHXTPrefilter : IHXTPropertyBag
{
};

// The input of an encoding job, built from a bag naming its plug-in ("pluginName", "pluginType")
// and source ("filename"). Its flags "hasVideo" and "hasAudio" describe the source.
struct IHXTInput : IHXTPropertyBag
{
    virtual HX_RESULT STDMETHODCALLTYPE AddPrefilter(IHXTPrefilter* prefilter) = 0;
};

// Where an output is written: "filename", "writeSize", "tempDir", "destinationRollSize",
// "destinationRollTime".
struct IHXTDestination : IHXTPropertyBag
{
};

// One encoded stream of an audience: "pluginType" ("videoStream", "audioStream"), "codec",
// "bitrate" and the encoding hints.
struct IHXTStreamConfig : IHXTPropertyBag
{
};

// A target audience ("name") with its streams.
struct IHXTAudience : IHXTPropertyBag
{
    virtual UINT32 STDMETHODCALLTYPE GetStreamCount() = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetStream(UINT32 index, IHXTStreamConfig** stream) = 0;
};

// The audiences found in a folder of audience files.
struct IHXTAudienceList : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE LoadFolder(const char* folder) = 0;
    virtual UINT32 STDMETHODCALLTYPE GetAudienceCount() = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetAudience(UINT32 index, IHXTAudience** audience) = 0;
};

// What is encoded: "videoMode", "audioMode" and the audiences.
struct IHXTMediaProfile : IHXTPropertyBag
{
    virtual HX_RESULT STDMETHODCALLTYPE AddAudience(IHXTAudience* audience) = 0;
    virtual UINT32 STDMETHODCALLTYPE GetAudienceCount() = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetAudience(UINT32 index, IHXTAudience** audience) = 0;
};

struct IHXTOutputProfile : IHXTPropertyBag
{
    virtual HX_RESULT STDMETHODCALLTYPE AddDestination(IHXTDestination* destination) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetMediaProfile(IHXTMediaProfile* profile) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetMediaProfile(IHXTMediaProfile** profile) = 0;
};

// One encoding: an input, output profiles and the flag "enableTwoPass". After a failure its text
// "errorText" says why.
struct IHXTEncodingJob : IHXTPropertyBag
{
    virtual HX_RESULT STDMETHODCALLTYPE GetEventManager(IHXTEventManager** manager) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE SetInput(IHXTInput* input) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetInput(IHXTInput** input) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE AddOutputProfile(IHXTOutputProfile* profile) = 0;
    virtual HX_RESULT STDMETHODCALLTYPE GetOutputProfile(UINT32 index, IHXTOutputProfile** profile) = 0;
    // Blocks until the encoding is done or cancelled.
    virtual HX_RESULT STDMETHODCALLTYPE StartEncoding(BOOL wait) = 0;
    // From any thread while StartEncoding runs.
    virtual HX_RESULT STDMETHODCALLTYPE CancelEncoding() = 0;
};

// The job factory of the SDK library.
struct IHXTClassFactory : IUnknown
{
    virtual HX_RESULT STDMETHODCALLTYPE CreateInstance(REFCLSID clsid, void** object) = 0;
    // Input, prefilter and destination are built from a bag of their settings.
    virtual HX_RESULT STDMETHODCALLTYPE BuildInstance(REFCLSID clsid, IHXTPropertyBag* settings, void** object) = 0;
};

// Exports of the SDK library (tools\encsession.dll).
typedef HX_RESULT(WINAPI* SetDLLAccessPathFunc)(const char* accessPaths);
typedef HX_RESULT(WINAPI* HXTCreateJobFactoryFunc)(IHXTClassFactory** factory);

// Exports of an input plug-in.
typedef HX_RESULT(WINAPI* RMACreateInstanceFunc)(IUnknown** instance);
typedef HX_RESULT(WINAPI* RMAShutdownFunc)();

// Compares two 16-byte ids as four 32-bit words.
inline bool GuidsEqual(REFGUID a, REFGUID b)
{
    const UINT32* x = reinterpret_cast<const UINT32*>(&a);
    const UINT32* y = reinterpret_cast<const UINT32*>(&b);
    return x[0] == y[0] && x[1] == y[1] && x[2] == y[2] && x[3] == y[3];
}
