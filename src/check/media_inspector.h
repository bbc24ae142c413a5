// The program's own readers behind the checker's media questions.
#pragma once

#include <memory>

#include "check/project_checks.h"
#include "platform/media/media_probe.h"

class CProgramMedia : public CMediaInspector {
 public:
  std::string Resolve(const char* storedName) override;
  Image InspectImage(const std::string& path) override;
  Video ProbeVideo(const std::string& path) override;

 private:
  std::unique_ptr<platform::MediaProber> m_prober;  // started at the first video
};
