#pragma once
// Test fixtures: the recording services installed for one test, and a scratch folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/services.h"
#include "tests/support/memory_bitmap.h"
#include "tests/support/recording_clipboard.h"
#include "tests/support/recording_messages.h"
#include "tests/support/scripted_progress.h"

namespace koltar::test {

// Installs recording services and a known pixel size for the lifetime of the object,
// and puts the previous ones back afterwards.
class ScopedTestServices {
 public:
  ScopedTestServices();
  ~ScopedTestServices();
  ScopedTestServices(const ScopedTestServices&) = delete;
  ScopedTestServices& operator=(const ScopedTestServices&) = delete;

  RecordingMessageService messages;
  ScriptedProgress progress;
  RecordingWaitCursor waitCursor;
  RecordingStatusFields status;
  MemoryImageService images;
  RecordingClipboard clipboard;

 private:
  Services saved_;
  ProgramValues savedProgram_;
};

// A fresh folder under the system's temporary directory, removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The model name (code page 1250) of a file in the folder.
  std::string Model(std::string_view relative = {}) const;
  // Writes a file (bytes as they are) and returns its model name.
  std::string Write(std::string_view relative, std::string_view bytes) const;
  std::string Read(std::string_view relative) const;

 private:
  std::filesystem::path path_;
};

// Base fixture that installs the test services.
class ServicesTest : public ::testing::Test {
 protected:
  ScopedTestServices services;
};

}  // namespace koltar::test
