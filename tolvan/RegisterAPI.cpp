// The module entry and its class factories.
//
// The engine calls KivModuleApiFunction once after loading libTolvan.so and then creates the
// five scene entities by class name through the factories below (a new object per call), in
// engine allocator memory tagged "RegisterAPI". Each factory puts itself at the head of the
// list, so the list runs from the Ortho factory back to the Simple one.
#include "tolvan/Module.h"
#include "tolvan/SceneClasses.h"

namespace {

KivModuleState gModule;

KivObjectFactory<KcSimpleScene> gSimpleSceneEntityVMA(gModule, "KcSimpleScene", kKivKindSceneEntity,
                                                      "RegisterAPI", 24);
KivObjectFactory<KcMultipleScene> gMultipleSceneEntityVMA(gModule, "KcMultipleScene",
                                                          kKivKindSceneEntity, "RegisterAPI", 25);
KivObjectFactory<KcRectFrameScene> gRectFrameSceneEntityVMA(gModule, "KcRectFrameScene",
                                                            kKivKindSceneEntity, "RegisterAPI", 26);
KivObjectFactory<KcZAxisScene> gZAxisSceneEntityVMA(gModule, "KcZAxisScene", kKivKindSceneEntity,
                                                    "RegisterAPI", 27);
KivObjectFactory<KcOrthoScene> gOrthoSceneEntityVMA(gModule, "KcOrthoScene", kKivKindSceneEntity,
                                                    "RegisterAPI", 28);

}  // namespace

KivModuleState& TolvanModule() { return gModule; }

KIV_MODULE_EXPORT KivModuleAPI* KivModuleApiFunction(KivEngineAPI* api) {
    return KivEnterModule(gModule, api, "Tolvan");
}
