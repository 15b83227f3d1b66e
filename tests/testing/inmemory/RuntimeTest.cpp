#include <gtest/gtest.h>

#include <memory>

#include "inmemory/InMemoryRuntime.h"
#include "platform/ComError.h"
#include "tests/support/ErrorOf.h"

namespace sendnote::inmemory {
namespace {

using platform::ComError;

class FakeServer : public platform::Object {
 public:
  bool quit = false;
  std::u16string TypeName() const override { return u"Application"; }
  std::shared_ptr<platform::Object> Application() override { return nullptr; }
};

using test_support::ErrorNumberOf;

TEST(InMemoryRuntimeLookup, NoneRunningRaises429AndRunningIsReturned) {
  InMemoryRuntime runtime;
  EXPECT_EQ(ErrorNumberOf([&] { runtime.GetObject(kWordClass); }), platform::kErrCannotCreate);
  auto word = std::make_shared<FakeServer>();
  runtime.SetRunning(kWordClass, word);
  EXPECT_EQ(runtime.GetObject(kWordClass), word);
  EXPECT_EQ(ErrorNumberOf([&] { runtime.GetObject(u"Excel.Application"); }),
            platform::kErrCannotCreate);
}

TEST(InMemoryRuntimeLookup, ConfiguredErrorAndQuitInstance) {
  InMemoryRuntime runtime;
  auto word = std::make_shared<FakeServer>();
  runtime.SetRunning(kWordClass, word);
  runtime.faults().FailOn(u"GetObject", -2147418111, u"busy", 1);
  EXPECT_EQ(ErrorNumberOf([&] { runtime.GetObject(kWordClass); }), -2147418111);

  runtime.SetLiveness(kWordClass, [](const platform::Object& o) {
    return !static_cast<const FakeServer&>(o).quit;
  });
  word->quit = true;
  EXPECT_EQ(ErrorNumberOf([&] { runtime.GetObject(kWordClass); }), platform::kErrCannotCreate);
  word->quit = false;  // a quit server does not come back by itself
  EXPECT_EQ(runtime.Running(kWordClass), nullptr);
}

TEST(InMemoryRuntimeCreate, FactoryMakesTheRunningInstanceAndFailuresAre429) {
  InMemoryRuntime runtime;
  EXPECT_EQ(ErrorNumberOf([&] { runtime.CreateObject(kWordClass); }), platform::kErrCannotCreate);

  runtime.SetFactory(kWordClass, [] { return std::shared_ptr<platform::Object>(); });
  EXPECT_EQ(ErrorNumberOf([&] { runtime.CreateObject(kWordClass); }), platform::kErrCannotCreate);
  runtime.SetFactory(kWordClass, []() -> std::shared_ptr<platform::Object> {
    platform::Raise(-2147024891, u"denied");
  });
  EXPECT_EQ(ErrorNumberOf([&] { runtime.CreateObject(kWordClass); }), platform::kErrCannotCreate);
  EXPECT_EQ(runtime.Running(kWordClass), nullptr);
  EXPECT_EQ(runtime.Created(kWordClass), 0);

  runtime.SetFactory(kWordClass, [] { return std::make_shared<FakeServer>(); });
  auto created = runtime.CreateObject(kWordClass);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(runtime.GetObject(kWordClass), created);
  EXPECT_NE(runtime.CreateObject(kWordClass), created);
  EXPECT_EQ(runtime.Created(kWordClass), 2);
}

TEST(InMemoryRuntimeServices, UiFolderNarrowAndInstallation) {
  ScriptedUi ui;
  InMemoryRuntime runtime(ui);
  EXPECT_EQ(&runtime.Ui(), &ui);
  EXPECT_EQ(&runtime.Scripted(), &ui);
  runtime.SetLibraryFolder(u"D:\\");
  EXPECT_EQ(runtime.LibraryFolder(), u"D:\\");
  EXPECT_EQ(runtime.Narrow(u"ＡＢ１２　"), u"AB12 ");
  {
    platform::ScopedRuntime installed(runtime);
    EXPECT_EQ(&platform::CurrentRuntime(), &runtime);
    platform::CurrentRuntime().Ui().MsgBox(u"m", 0, u"t");
  }
  EXPECT_EQ(ui.MsgBoxes().size(), 1u);
}

}  // namespace
}  // namespace sendnote::inmemory
