// The module entry and its class factories.
//
// The engine calls KivModuleApiFunction once after loading libLuneth.so and then creates the
// image object ("CLuneth", one per engine) and its panels ("CLunethUI", a new one each time)
// through the two factories below, in engine allocator memory tagged "RegisterAPI".
#include "kiv/engine.h"
#include "kiv/module.h"
#include "module/LibraryStart.h"
#include "module/Luneth.h"
#include "module/LunethUI.h"

namespace {

KivModuleState gModule;

// Each factory puts itself at the head of the list: the UI factory comes first.
KivSingleObjectFactory<CLuneth> gLunethGameVMA(gModule, "CLuneth", kKivKindGame, "RegisterAPI", 22);
KivObjectFactory<CLunethUI> gLunethUIObjectVMA(gModule, "CLunethUI", kKivKindUIObject,
                                               "RegisterAPI", 23);

}  // namespace

KivModuleState& LunethModule() { return gModule; }

KIV_MODULE_EXPORT KivModuleAPI* KivModuleApiFunction(KivEngineAPI* api) {
    luneth::StartFunctionLibrary();
    return KivEnterModule(gModule, api, "Luneth");
}
