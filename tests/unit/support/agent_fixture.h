// The common ground of the unit tests that run parts of a pass: a fresh installation folder
// with its config.ini folder, the identity set, the log captured, the platform table restored
// afterwards, a stand-in web-post library and a clock the test sets.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_web_post.h"
#include "support/log_capture.h"
#include "support/platform_fakes.h"
#include "support/test_folders.h"

class AgentTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The clock of the pass: the C library's time reads this, the local clock its local time.
  void SetClock(__time64_t now);
  // A moment whose local time is at the given minute of the hour.
  static __time64_t AtLocalMinute(int minute);

  std::string ConfigFile() const { return folder.Join("Ardo\\MonitorTemplate\\config.ini"); }
  std::string ConfigValue(const char* section, const char* key) const;
  void SetConfigValue(const char* section, const char* key, const char* value) const;
  // The errdesc of every status document posted.
  std::vector<std::string> Reports() const;
  // The log lines of the given modules only.
  std::vector<LoggedLine> LinesOf(std::initializer_list<const char*> modules) const;

  TempFolder folder;
  PlatformGuard guard;
  FakeWebPost& web = InstallFakeWebPost();
  std::vector<LoggedLine>& log = CaptureLog();
};
