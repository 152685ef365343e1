// A small plug-in module for the engine's tests: a game object, a UI object and a scene entity,
// each recording what the engine did to it.
#pragma once

#include <cstdint>

#include "kiv/base.h"

// What the test game records; the tests reach it through GetGame.
class ITestGame : public KicGame {
public:
    virtual int InitializeCount() const = 0;
    virtual int MessageCount() const = 0;
    virtual uint32_t LastMessage() const = 0;
    virtual bool CtrlDuringLastMessage() const = 0;
    virtual int UpdateCount() const = 0;
    // Makes OnMessage consume the messages from now on.
    virtual void SetConsumeMessages(bool consume) = 0;
};

class ITestPanel : public KicObject {
public:
    virtual int CreateControlsCount() const = 0;
};
