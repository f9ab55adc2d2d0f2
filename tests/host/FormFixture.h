// A fixture for tests of the control library: one form of type F, created by an application on
// a process of a fresh simulated machine with the headless platform. The forms are destroyed
// with the fixture.
#pragma once

#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/Application.h"
#include "ui/HeadlessPlatform.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <memory>

template <class F> class FormFixture : public ::testing::Test {
  protected:
    explicit FormFixture(const char* sandboxName)
        : sandbox(sandboxName), machine(sandbox), process(machine.StartProcess("C:\\T.EXE")),
          platform(*process), app(*process, platform), form(app.CreateForm<F>()) {}
    ~FormFixture() override { app.DestroyForms(); }

    TestSandbox sandbox;
    os::sim::SimMachine machine;
    std::unique_ptr<os::sim::SimProcess> process;
    ui::HeadlessPlatform platform;
    ui::Application app;
    F* form;
};
