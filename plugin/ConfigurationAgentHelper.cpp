#include "plugin/ConfigurationAgentHelper.h"

#include "platform/producer/ComPtr.h"

CHXTConfigurationAgentHelper::CHXTConfigurationAgentHelper()
    : m_ownBag(nullptr), m_classFactory(nullptr), m_configured(0), m_openForChanges(0)
{
}

CHXTConfigurationAgentHelper::~CHXTConfigurationAgentHelper()
{
    if (m_ownBag)
        m_ownBag->Release();
    if (m_classFactory)
        m_classFactory->Release();
    m_ownBag = nullptr;
    m_classFactory = nullptr;
}

HX_RESULT CHXTConfigurationAgentHelper::CheckChange(const void* key) const
{
    if (!key)
        return E_POINTER;
    if (!m_openForChanges)
        return HXR_UNEXPECTED_STATE;
    return HXR_OK;
}

// Every operation ends in the own bag; without one there is nothing to answer from.
#define RW_FORWARD(call) return m_ownBag ? m_ownBag->call : E_FAIL
#define RW_CHECKED_GET(key, out, call)                                                                                 \
    if (!(key) || !(out))                                                                                              \
        return E_POINTER;                                                                                              \
    RW_FORWARD(call)
#define RW_CHECKED_SET(key, hook, call)                                                                                \
    HX_RESULT result = CheckChange(key);                                                                               \
    if (result >= 0)                                                                                                   \
        result = hook;                                                                                                 \
    if (result < 0)                                                                                                    \
        return result;                                                                                                 \
    RW_FORWARD(call)
#define RW_HOOKED_SET(hook, call)                                                                                      \
    HX_RESULT result = hook;                                                                                           \
    if (result < 0)                                                                                                    \
        return result;                                                                                                 \
    RW_FORWARD(call)

HX_RESULT CHXTConfigurationAgentHelper::GetPropertyCount(UINT32* count)
{
    RW_FORWARD(GetPropertyCount(count));
}

HX_RESULT CHXTConfigurationAgentHelper::GetBool(const char* key, BOOL* value)
{
    RW_CHECKED_GET(key, value, GetBool(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetBool(const char* key, BOOL value)
{
    RW_CHECKED_SET(key, ValidateFlagProperty(key, value), SetBool(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetUINT(const char* key, UINT32* value)
{
    RW_CHECKED_GET(key, value, GetUINT(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetUINT(const char* key, UINT32 value)
{
    RW_CHECKED_SET(key, ValidateUIntProperty(key, value), SetUINT(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetInt(const char* key, INT32* value)
{
    RW_CHECKED_GET(key, value, GetInt(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetInt(const char* key, INT32 value)
{
    RW_CHECKED_SET(key, ValidateIntProperty(key, value), SetInt(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetInt64(const char* key, INT64* value)
{
    RW_CHECKED_GET(key, value, GetInt64(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetInt64(const char* key, INT64 value)
{
    RW_CHECKED_SET(key, ValidateInt64Property(key, value), SetInt64(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetDouble(const char* key, double* value)
{
    RW_CHECKED_GET(key, value, GetDouble(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetDouble(const char* key, double value)
{
    RW_CHECKED_SET(key, ValidateDoubleProperty(key, value), SetDouble(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetString(const char* key, const char** value)
{
    RW_CHECKED_GET(key, value, GetString(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetString(const char* key, const char* value)
{
    if (!value)
        return E_POINTER;
    RW_CHECKED_SET(key, ValidateStringProperty(key, value), SetString(key, value));
}

// The kinds 7 to 14: getters forward as they are, setters ask only their hook.
HX_RESULT CHXTConfigurationAgentHelper::GetInt8(const char* key, INT8* value)
{
    RW_FORWARD(GetInt8(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetInt8(const char* key, INT8 value)
{
    RW_HOOKED_SET(ValidateInt8Property(key, value), SetInt8(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetUInt8(const char* key, UINT8* value)
{
    RW_FORWARD(GetUInt8(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetUInt8(const char* key, UINT8 value)
{
    RW_HOOKED_SET(ValidateUInt8Property(key, value), SetUInt8(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetInt16(const char* key, INT16* value)
{
    RW_FORWARD(GetInt16(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetInt16(const char* key, INT16 value)
{
    RW_HOOKED_SET(ValidateInt16Property(key, value), SetInt16(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetUInt16(const char* key, UINT16* value)
{
    RW_FORWARD(GetUInt16(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetUInt16(const char* key, UINT16 value)
{
    RW_HOOKED_SET(ValidateUInt16Property(key, value), SetUInt16(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetUInt64(const char* key, UINT64* value)
{
    RW_FORWARD(GetUInt64(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetUInt64(const char* key, UINT64 value)
{
    RW_HOOKED_SET(ValidateUInt64Property(key, value), SetUInt64(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetFloat(const char* key, float* value)
{
    RW_FORWARD(GetFloat(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetFloat(const char* key, float value)
{
    RW_HOOKED_SET(ValidateFloatProperty(key, value), SetFloat(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetGuid(const char* key, GUID* value)
{
    RW_FORWARD(GetGuid(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetGuid(const char* key, const GUID* value)
{
    RW_HOOKED_SET(ValidateGuidProperty(key, value), SetGuid(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetPointer(const char* key, UINT_PTR* value)
{
    RW_FORWARD(GetPointer(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetPointer(const char* key, UINT_PTR value)
{
    RW_HOOKED_SET(ValidatePointerProperty(key, value), SetPointer(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetObjectValue(const char* key, IUnknown** value)
{
    RW_FORWARD(GetObjectValue(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetObjectValue(const char* key, IUnknown* value)
{
    if (!value)
        return E_POINTER;
    RW_CHECKED_SET(key, ValidateObjectProperty(key, value), SetObjectValue(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::GetProperty(const char* key, IHXTProperty** property)
{
    RW_CHECKED_GET(key, property, GetProperty(key, property));
}

HX_RESULT CHXTConfigurationAgentHelper::SetProperty(IHXTProperty* property)
{
    RW_CHECKED_SET(property, ValidateProperty(property), SetProperty(property));
}

HX_RESULT CHXTConfigurationAgentHelper::GetBag(const char* key, IHXTPropertyBag** value)
{
    RW_CHECKED_GET(key, value, GetBag(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::SetBag(const char* key, IHXTPropertyBag* value)
{
    if (!value)
        return E_POINTER;
    RW_CHECKED_SET(key, ValidateBagProperty(key, value), SetBag(key, value));
}

HX_RESULT CHXTConfigurationAgentHelper::Remove(const char* key)
{
    RW_CHECKED_SET(key, ValidateRemoveProperty(key), Remove(key));
}

HX_RESULT CHXTConfigurationAgentHelper::GetEnumerator(IHXTPropertyEnumerator** enumerator)
{
    RW_FORWARD(GetEnumerator(enumerator));
}

HX_RESULT CHXTConfigurationAgentHelper::RemoveAll()
{
    RW_FORWARD(RemoveAll());
}

#undef RW_FORWARD
#undef RW_CHECKED_GET
#undef RW_CHECKED_SET
#undef RW_HOOKED_SET

HX_RESULT CHXTConfigurationAgentHelper::PrepareDefaults(IHXTPropertyBag*, IHXTPropertyBag*, IHXTPropertyBag*)
{
    return HXR_OK;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateFlagProperty(const char*, BOOL)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateUIntProperty(const char*, UINT32)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateIntProperty(const char*, INT32)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateInt64Property(const char*, INT64)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateDoubleProperty(const char*, double)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateInt8Property(const char*, INT8)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateUInt8Property(const char*, UINT8)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateInt16Property(const char*, INT16)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateUInt16Property(const char*, UINT16)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateUInt64Property(const char*, UINT64)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateFloatProperty(const char*, float)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateGuidProperty(const char*, const GUID*)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidatePointerProperty(const char*, UINT_PTR)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateStringProperty(const char*, const char*)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateObjectProperty(const char*, IUnknown*)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateProperty(IHXTProperty*)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateBagProperty(const char*, IHXTPropertyBag*)
{
    return E_FAIL;
}

HX_RESULT CHXTConfigurationAgentHelper::ValidateRemoveProperty(const char*)
{
    return E_FAIL;
}

// Reads one property of the input bag with the getter of its type and passes it to this agent's
// setter of that type; types without a getter and setter pair go through SetProperty whole.
HX_RESULT CHXTConfigurationAgentHelper::CopyProperty(IHXTPropertyBag* input, IHXTProperty* property)
{
    const char* key = nullptr;
    HXTPropertyValue value = {};
    HX_RESULT result = property->GetKey(&key);
    if (result >= 0)
        result = property->GetValue(&value);
    if (result < 0)
        return result;
    switch (value.type)
    {
    case kHXTPropFlag: {
        BOOL flag = FALSE;
        result = input->GetBool(key, &flag);
        return result < 0 ? result : SetBool(key, flag);
    }
    case kHXTPropUInt32: {
        UINT32 number = 0;
        result = input->GetUINT(key, &number);
        return result < 0 ? result : SetUINT(key, number);
    }
    case kHXTPropInt32: {
        INT32 number = 0;
        result = input->GetInt(key, &number);
        return result < 0 ? result : SetInt(key, number);
    }
    case kHXTPropInt64: {
        INT64 number = 0;
        result = input->GetInt64(key, &number);
        return result < 0 ? result : SetInt64(key, number);
    }
    case kHXTPropDouble: {
        double number = 0;
        result = input->GetDouble(key, &number);
        return result < 0 ? result : SetDouble(key, number);
    }
    case kHXTPropString: {
        const char* text = nullptr;
        result = input->GetString(key, &text);
        return result < 0 ? result : SetString(key, text);
    }
    case kHXTPropObject: {
        ComPtr<IUnknown> object;
        result = input->GetObjectValue(key, object.Out());
        return result < 0 ? result : SetObjectValue(key, object.Get());
    }
    case kHXTPropBag: {
        ComPtr<IHXTPropertyBag> bag;
        result = input->GetBag(key, bag.Out());
        return result < 0 ? result : SetBag(key, bag.Get());
    }
    default:
        return SetProperty(property);
    }
}

HX_RESULT CHXTConfigurationAgentHelper::ApplyConfiguration(IHXTPropertyBag* input, IHXTPropertyBag** rejectedOut)
{
    if (m_configured || !m_classFactory || !m_ownBag)
        return HXR_UNEXPECTED_STATE;
    ComPtr<IHXTPropertyBag> defaults;
    ComPtr<IHXTPropertyBag> rejected;
    HX_RESULT result = m_classFactory->CreateInstance(CLSID_HXTPropertyBag, defaults.OutVoid());
    if (result < 0)
        return result;
    result = m_classFactory->CreateInstance(CLSID_HXTPropertyBag, rejected.OutVoid());
    if (result < 0)
        return result;
    result = PrepareDefaults(input, defaults.Get(), rejected.Get());
    if (result < 0)
        return result;

    ComPtr<IHXTPropertyEnumerator> walk;
    if (defaults->GetEnumerator(walk.Out()) >= 0 && walk)
    {
        for (;;)
        {
            ComPtr<IHXTProperty> property;
            HX_RESULT step = walk->Next(property.Out());
            if (step < 0 || step == HXR_NO_MORE_PROPERTIES || !property)
                break;
            result = m_ownBag->SetProperty(property.Get());
            if (result < 0)
                return result;
        }
    }

    result = HXR_OK;
    if (input)
    {
        ComPtr<IHXTPropertyEnumerator> inputWalk;
        if (input->GetEnumerator(inputWalk.Out()) >= 0 && inputWalk)
        {
            for (;;)
            {
                ComPtr<IHXTProperty> property;
                HX_RESULT step = inputWalk->Next(property.Out());
                if (step < 0 || step == HXR_NO_MORE_PROPERTIES || !property)
                    break;
                const char* key = nullptr;
                ComPtr<IHXTProperty> preset;
                if (property->GetKey(&key) >= 0 && key && defaults->GetProperty(key, preset.Out()) >= 0)
                    continue;
                result = CopyProperty(input, property.Get());
                if (result < 0)
                {
                    rejected->SetProperty(property.Get());
                    break;
                }
            }
        }
    }
    if (result >= 0)
        m_configured = 1;
    if (rejectedOut)
    {
        rejected->AddRef();
        *rejectedOut = rejected.Get();
    }
    return result;
}
