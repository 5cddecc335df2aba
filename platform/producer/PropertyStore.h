// The typed key-value store behind every property bag of the SDK library, and CBagObject, which
// gives any SDK interface derived from IHXTPropertyBag its bag operations and reference count.
#pragma once

#include "platform/producer/ProducerSdk.h"
#include "platform/producer/UnknownImpl.h"

#include <string>
#include <vector>

// One stored property; owns its text and one reference to its object.
class CProperty : public CUnknownImpl<IHXTProperty>
{
  public:
    CProperty(const char* key, const HXTPropertyValue& value);
    ~CProperty() override;

    HX_RESULT STDMETHODCALLTYPE GetKey(const char** key) override;
    HX_RESULT STDMETHODCALLTYPE GetValue(HXTPropertyValue* value) override;

    const std::string& Key() const
    {
        return m_key;
    }
    const HXTPropertyValue& Value() const
    {
        return m_value;
    }

  private:
    std::string m_key;
    std::string m_text;
    HXTPropertyValue m_value;
};

// Properties in the order their keys were first set.
class PropertyStore
{
  public:
    PropertyStore() = default;
    PropertyStore(const PropertyStore&) = delete;
    PropertyStore& operator=(const PropertyStore&) = delete;
    ~PropertyStore();

    HX_RESULT Set(const char* key, const HXTPropertyValue& value);
    // E_FAIL when the key is missing or holds another type.
    HX_RESULT Get(const char* key, UINT32 type, HXTPropertyValue* value) const;
    CProperty* Find(const char* key) const;
    HX_RESULT Remove(const char* key);
    void Clear();
    UINT32 Count() const
    {
        return (UINT32)m_properties.size();
    }
    HX_RESULT CreateEnumerator(IHXTPropertyEnumerator** enumerator) const;
    // Copies every property of the bag into this store.
    HX_RESULT CopyFrom(IHXTPropertyBag* bag);

    // Convenience readers for the library itself; the fallback when missing or of another type.
    std::string Text(const char* key, const char* fallback = "") const;
    double Number(const char* key, double fallback) const;
    bool Flag(const char* key) const;
    IUnknown* Object(const char* key) const; // no added reference

  private:
    std::vector<CProperty*> m_properties; // one reference each
};

// The bag operations over a PropertyStore, for interface I (an IHXTPropertyBag); answers
// IUnknown, the property bag id and extraId.
template <typename I> class CBagObject : public CUnknownImpl<I>
{
  public:
    explicit CBagObject(REFIID extraId) : CUnknownImpl<I>(IID_IHXTPropertyBag, extraId)
    {
    }

    HX_RESULT STDMETHODCALLTYPE GetPropertyCount(UINT32* count) override
    {
        if (!count)
            return E_POINTER;
        *count = m_store.Count();
        return HXR_OK;
    }
    HX_RESULT STDMETHODCALLTYPE GetBool(const char* key, BOOL* value) override
    {
        return Read(key, kHXTPropFlag, value, &HXTPropertyValue::flag);
    }
    HX_RESULT STDMETHODCALLTYPE SetBool(const char* key, BOOL value) override
    {
        return Write(key, kHXTPropFlag, value, &HXTPropertyValue::flag);
    }
    HX_RESULT STDMETHODCALLTYPE GetUINT(const char* key, UINT32* value) override
    {
        return Read(key, kHXTPropUInt32, value, &HXTPropertyValue::u32);
    }
    HX_RESULT STDMETHODCALLTYPE SetUINT(const char* key, UINT32 value) override
    {
        return Write(key, kHXTPropUInt32, value, &HXTPropertyValue::u32);
    }
    HX_RESULT STDMETHODCALLTYPE GetInt(const char* key, INT32* value) override
    {
        return Read(key, kHXTPropInt32, value, &HXTPropertyValue::i32);
    }
    HX_RESULT STDMETHODCALLTYPE SetInt(const char* key, INT32 value) override
    {
        return Write(key, kHXTPropInt32, value, &HXTPropertyValue::i32);
    }
    HX_RESULT STDMETHODCALLTYPE GetInt64(const char* key, INT64* value) override
    {
        return Read(key, kHXTPropInt64, value, &HXTPropertyValue::i64);
    }
    HX_RESULT STDMETHODCALLTYPE SetInt64(const char* key, INT64 value) override
    {
        return Write(key, kHXTPropInt64, value, &HXTPropertyValue::i64);
    }
    HX_RESULT STDMETHODCALLTYPE GetDouble(const char* key, double* value) override
    {
        return Read(key, kHXTPropDouble, value, &HXTPropertyValue::d);
    }
    HX_RESULT STDMETHODCALLTYPE SetDouble(const char* key, double value) override
    {
        return Write(key, kHXTPropDouble, value, &HXTPropertyValue::d);
    }
    HX_RESULT STDMETHODCALLTYPE GetString(const char* key, const char** value) override
    {
        return Read(key, kHXTPropString, value, &HXTPropertyValue::text);
    }
    HX_RESULT STDMETHODCALLTYPE SetString(const char* key, const char* value) override
    {
        if (!value)
            return E_POINTER;
        return Write(key, kHXTPropString, value, &HXTPropertyValue::text);
    }
    HX_RESULT STDMETHODCALLTYPE GetInt8(const char* key, INT8* value) override
    {
        return Read(key, kHXTPropInt8, value, &HXTPropertyValue::i8);
    }
    HX_RESULT STDMETHODCALLTYPE SetInt8(const char* key, INT8 value) override
    {
        return Write(key, kHXTPropInt8, value, &HXTPropertyValue::i8);
    }
    HX_RESULT STDMETHODCALLTYPE GetUInt8(const char* key, UINT8* value) override
    {
        return Read(key, kHXTPropUInt8, value, &HXTPropertyValue::u8);
    }
    HX_RESULT STDMETHODCALLTYPE SetUInt8(const char* key, UINT8 value) override
    {
        return Write(key, kHXTPropUInt8, value, &HXTPropertyValue::u8);
    }
    HX_RESULT STDMETHODCALLTYPE GetInt16(const char* key, INT16* value) override
    {
        return Read(key, kHXTPropInt16, value, &HXTPropertyValue::i16);
    }
    HX_RESULT STDMETHODCALLTYPE SetInt16(const char* key, INT16 value) override
    {
        return Write(key, kHXTPropInt16, value, &HXTPropertyValue::i16);
    }
    HX_RESULT STDMETHODCALLTYPE GetUInt16(const char* key, UINT16* value) override
    {
        return Read(key, kHXTPropUInt16, value, &HXTPropertyValue::u16);
    }
    HX_RESULT STDMETHODCALLTYPE SetUInt16(const char* key, UINT16 value) override
    {
        return Write(key, kHXTPropUInt16, value, &HXTPropertyValue::u16);
    }
    HX_RESULT STDMETHODCALLTYPE GetUInt64(const char* key, UINT64* value) override
    {
        return Read(key, kHXTPropUInt64, value, &HXTPropertyValue::u64);
    }
    HX_RESULT STDMETHODCALLTYPE SetUInt64(const char* key, UINT64 value) override
    {
        return Write(key, kHXTPropUInt64, value, &HXTPropertyValue::u64);
    }
    HX_RESULT STDMETHODCALLTYPE GetFloat(const char* key, float* value) override
    {
        return Read(key, kHXTPropFloat, value, &HXTPropertyValue::f);
    }
    HX_RESULT STDMETHODCALLTYPE SetFloat(const char* key, float value) override
    {
        return Write(key, kHXTPropFloat, value, &HXTPropertyValue::f);
    }
    HX_RESULT STDMETHODCALLTYPE GetGuid(const char* key, GUID* value) override
    {
        return Read(key, kHXTPropGuid, value, &HXTPropertyValue::guid);
    }
    HX_RESULT STDMETHODCALLTYPE SetGuid(const char* key, const GUID* value) override
    {
        if (!value)
            return E_POINTER;
        return Write(key, kHXTPropGuid, *value, &HXTPropertyValue::guid);
    }
    HX_RESULT STDMETHODCALLTYPE GetPointer(const char* key, UINT_PTR* value) override
    {
        return Read(key, kHXTPropPointer, value, &HXTPropertyValue::pointer);
    }
    HX_RESULT STDMETHODCALLTYPE SetPointer(const char* key, UINT_PTR value) override
    {
        return Write(key, kHXTPropPointer, value, &HXTPropertyValue::pointer);
    }
    HX_RESULT STDMETHODCALLTYPE GetObjectValue(const char* key, IUnknown** value) override
    {
        return ReadObject(key, kHXTPropObject, reinterpret_cast<void**>(value));
    }
    HX_RESULT STDMETHODCALLTYPE SetObjectValue(const char* key, IUnknown* value) override
    {
        return WriteObject(key, kHXTPropObject, value);
    }
    HX_RESULT STDMETHODCALLTYPE GetProperty(const char* key, IHXTProperty** property) override
    {
        if (!key || !property)
            return E_POINTER;
        CProperty* found = m_store.Find(key);
        *property = found;
        if (!found)
            return E_FAIL;
        found->AddRef();
        return HXR_OK;
    }
    HX_RESULT STDMETHODCALLTYPE SetProperty(IHXTProperty* property) override
    {
        if (!property)
            return E_POINTER;
        const char* key = nullptr;
        HXTPropertyValue value = {};
        HX_RESULT result = property->GetKey(&key);
        if (result >= 0)
            result = property->GetValue(&value);
        if (result >= 0)
            result = m_store.Set(key, value);
        return result;
    }
    HX_RESULT STDMETHODCALLTYPE GetBag(const char* key, IHXTPropertyBag** value) override
    {
        return ReadObject(key, kHXTPropBag, reinterpret_cast<void**>(value));
    }
    HX_RESULT STDMETHODCALLTYPE SetBag(const char* key, IHXTPropertyBag* value) override
    {
        return WriteObject(key, kHXTPropBag, value);
    }
    HX_RESULT STDMETHODCALLTYPE Remove(const char* key) override
    {
        return m_store.Remove(key);
    }
    HX_RESULT STDMETHODCALLTYPE GetEnumerator(IHXTPropertyEnumerator** enumerator) override
    {
        return m_store.CreateEnumerator(enumerator);
    }
    HX_RESULT STDMETHODCALLTYPE RemoveAll() override
    {
        m_store.Clear();
        return HXR_OK;
    }

    PropertyStore& Store()
    {
        return m_store;
    }

  protected:
    template <typename V, typename M> HX_RESULT Read(const char* key, UINT32 type, V* out, M HXTPropertyValue::*member)
    {
        if (!key || !out)
            return E_POINTER;
        HXTPropertyValue value = {};
        HX_RESULT result = m_store.Get(key, type, &value);
        if (result >= 0)
            *out = value.*member;
        return result;
    }
    template <typename V, typename M> HX_RESULT Write(const char* key, UINT32 type, V in, M HXTPropertyValue::*member)
    {
        if (!key)
            return E_POINTER;
        HXTPropertyValue value = {};
        value.type = type;
        value.*member = in;
        return m_store.Set(key, value);
    }
    HX_RESULT ReadObject(const char* key, UINT32 type, void** out)
    {
        if (!key || !out)
            return E_POINTER;
        HXTPropertyValue value = {};
        HX_RESULT result = m_store.Get(key, type, &value);
        *out = result >= 0 ? value.object : nullptr;
        if (*out)
            value.object->AddRef();
        return result;
    }
    HX_RESULT WriteObject(const char* key, UINT32 type, IUnknown* object)
    {
        if (!key || !object)
            return E_POINTER;
        HXTPropertyValue value = {};
        value.type = type;
        value.object = object;
        return m_store.Set(key, value);
    }

    PropertyStore m_store;
};

// A plain property bag.
class CPropertyBag : public CBagObject<IHXTPropertyBag>
{
  public:
    CPropertyBag() : CBagObject<IHXTPropertyBag>(IID_IHXTPropertyBag)
    {
    }
};
