// Base of the plug-in's input agent: answers the producer SDK's property-bag and configuration calls
// by forwarding them to a bag it owns, and lets the derived agent veto every change through one hook
// per kind of setter (all of which refuse here).
#pragma once

#include "platform/producer/ProducerSdk.h"

class CHXTConfigurationAgentHelper : public IHXTConfigurationAgent
{
  public:
    CHXTConfigurationAgentHelper();
    virtual ~CHXTConfigurationAgentHelper();

    // Bag operations, in the interface's order.
    HX_RESULT STDMETHODCALLTYPE GetPropertyCount(UINT32* count) override;
    HX_RESULT STDMETHODCALLTYPE GetBool(const char* key, BOOL* value) override;
    HX_RESULT STDMETHODCALLTYPE SetBool(const char* key, BOOL value) override;
    HX_RESULT STDMETHODCALLTYPE GetUINT(const char* key, UINT32* value) override;
    HX_RESULT STDMETHODCALLTYPE SetUINT(const char* key, UINT32 value) override;
    HX_RESULT STDMETHODCALLTYPE GetInt(const char* key, INT32* value) override;
    HX_RESULT STDMETHODCALLTYPE SetInt(const char* key, INT32 value) override;
    HX_RESULT STDMETHODCALLTYPE GetInt64(const char* key, INT64* value) override;
    HX_RESULT STDMETHODCALLTYPE SetInt64(const char* key, INT64 value) override;
    HX_RESULT STDMETHODCALLTYPE GetDouble(const char* key, double* value) override;
    HX_RESULT STDMETHODCALLTYPE SetDouble(const char* key, double value) override;
    HX_RESULT STDMETHODCALLTYPE GetString(const char* key, const char** value) override;
    HX_RESULT STDMETHODCALLTYPE SetString(const char* key, const char* value) override;
    HX_RESULT STDMETHODCALLTYPE GetInt8(const char* key, INT8* value) override;
    HX_RESULT STDMETHODCALLTYPE SetInt8(const char* key, INT8 value) override;
    HX_RESULT STDMETHODCALLTYPE GetUInt8(const char* key, UINT8* value) override;
    HX_RESULT STDMETHODCALLTYPE SetUInt8(const char* key, UINT8 value) override;
    HX_RESULT STDMETHODCALLTYPE GetInt16(const char* key, INT16* value) override;
    HX_RESULT STDMETHODCALLTYPE SetInt16(const char* key, INT16 value) override;
    HX_RESULT STDMETHODCALLTYPE GetUInt16(const char* key, UINT16* value) override;
    HX_RESULT STDMETHODCALLTYPE SetUInt16(const char* key, UINT16 value) override;
    HX_RESULT STDMETHODCALLTYPE GetUInt64(const char* key, UINT64* value) override;
    HX_RESULT STDMETHODCALLTYPE SetUInt64(const char* key, UINT64 value) override;
    HX_RESULT STDMETHODCALLTYPE GetFloat(const char* key, float* value) override;
    HX_RESULT STDMETHODCALLTYPE SetFloat(const char* key, float value) override;
    HX_RESULT STDMETHODCALLTYPE GetGuid(const char* key, GUID* value) override;
    HX_RESULT STDMETHODCALLTYPE SetGuid(const char* key, const GUID* value) override;
    HX_RESULT STDMETHODCALLTYPE GetPointer(const char* key, UINT_PTR* value) override;
    HX_RESULT STDMETHODCALLTYPE SetPointer(const char* key, UINT_PTR value) override;
    HX_RESULT STDMETHODCALLTYPE GetObjectValue(const char* key, IUnknown** value) override;
    HX_RESULT STDMETHODCALLTYPE SetObjectValue(const char* key, IUnknown* value) override;
    HX_RESULT STDMETHODCALLTYPE GetProperty(const char* key, IHXTProperty** property) override;
    HX_RESULT STDMETHODCALLTYPE SetProperty(IHXTProperty* property) override;
    HX_RESULT STDMETHODCALLTYPE GetBag(const char* key, IHXTPropertyBag** value) override;
    HX_RESULT STDMETHODCALLTYPE SetBag(const char* key, IHXTPropertyBag* value) override;
    HX_RESULT STDMETHODCALLTYPE Remove(const char* key) override;
    HX_RESULT STDMETHODCALLTYPE GetEnumerator(IHXTPropertyEnumerator** enumerator) override;
    HX_RESULT STDMETHODCALLTYPE RemoveAll() override;

    // Copies a whole bag of settings in through the setters; succeeds once per object.
    HX_RESULT STDMETHODCALLTYPE ApplyConfiguration(IHXTPropertyBag* input, IHXTPropertyBag** rejected) override;
    virtual HX_RESULT PrepareDefaults(IHXTPropertyBag* input, IHXTPropertyBag* defaults, IHXTPropertyBag* rejected);

    // Set hooks: a negative result refuses the change before the own bag is touched.
    virtual HX_RESULT ValidateFlagProperty(const char* key, BOOL value);
    virtual HX_RESULT ValidateUIntProperty(const char* key, UINT32 value);
    virtual HX_RESULT ValidateIntProperty(const char* key, INT32 value);
    virtual HX_RESULT ValidateInt64Property(const char* key, INT64 value);
    virtual HX_RESULT ValidateDoubleProperty(const char* key, double value);
    virtual HX_RESULT ValidateInt8Property(const char* key, INT8 value);
    virtual HX_RESULT ValidateUInt8Property(const char* key, UINT8 value);
    virtual HX_RESULT ValidateInt16Property(const char* key, INT16 value);
    virtual HX_RESULT ValidateUInt16Property(const char* key, UINT16 value);
    virtual HX_RESULT ValidateUInt64Property(const char* key, UINT64 value);
    virtual HX_RESULT ValidateFloatProperty(const char* key, float value);
    virtual HX_RESULT ValidateGuidProperty(const char* key, const GUID* value);
    virtual HX_RESULT ValidatePointerProperty(const char* key, UINT_PTR value);
    virtual HX_RESULT ValidateStringProperty(const char* key, const char* value);
    virtual HX_RESULT ValidateObjectProperty(const char* key, IUnknown* value);
    virtual HX_RESULT ValidateProperty(IHXTProperty* property);
    virtual HX_RESULT ValidateBagProperty(const char* key, IHXTPropertyBag* value);
    virtual HX_RESULT ValidateRemoveProperty(const char* key);

  protected:
    IHXTPropertyBag* m_ownBag;
    IHXCommonClassFactory* m_classFactory;
    UINT32 m_configured;
    UINT32 m_openForChanges;

  private:
    // The checks every checked setter makes before its hook.
    HX_RESULT CheckChange(const void* key) const;
    HX_RESULT CopyProperty(IHXTPropertyBag* input, IHXTProperty* property);
};
