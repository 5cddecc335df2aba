// The plug-in library's entry points: the producer SDK creates the plug-in object here.
#include "plugin/ExternalPluginHelper.h"
#include "plugin/InFFMpegAgent.h"

#include <new>

typedef CHXTExternalPluginHelper<CRSInFFMpegAgent> CLoomgatePlugin;

extern "C" HX_RESULT WINAPI RMACreateInstance(IUnknown** instance)
{
    if (!instance)
        return E_POINTER;
    CLoomgatePlugin* plugin = new (std::nothrow) CLoomgatePlugin();
    if (!plugin)
    {
        *instance = nullptr;
        return E_OUTOFMEMORY;
    }
    plugin->AddRef();
    *instance = static_cast<IHXPlugin*>(plugin);
    return HXR_OK;
}

extern "C" HX_RESULT WINAPI RMAShutdown()
{
    return HXR_OK;
}
