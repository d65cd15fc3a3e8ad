// The driver: choice of pipeline and the progress line.
#include <gtest/gtest.h>

#include <string>

#include "app/ScrivoApp.h"

TEST(ScrivoAppDispatch, ExtensionChoosesThePipeline) {
  using P = ScrivoApp_Pipeline;
  struct Case {
    const char* path;
    P pipeline;
  };
  const Case cases[] = {
      {"/s/MAIN.C", P::SourcePage},   {"/s/a.cpp", P::SourcePage},  {"/s/a.h", P::SourcePage},
      {"/s/a.TXT", P::SourcePage},    {"/s/doc.HTML", P::TemplateDoc},
      {"/s/doc.htmx", P::TemplateDoc}, {"/s/doc.hmt", P::TemplateDoc}, {"/s/site.SCV", P::Site},
      {"/s/a.hpp", P::None},          {"/s/noext", P::None},        {"/s/a.ht", P::None},
      {"/s/a.c.bak", P::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.pipeline, ScrivoApp_choosePipeline(c.path));
  }
}

TEST(ScrivoAppProgress, ClearsTheLineThenWritesTheStep) {
  testing::internal::CaptureStdout();
  ScrivoApp_printProgress(nullptr, 2, 3333, "a.c", 4, 9);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ("\r" + std::string(79, ' ') + "\rstep 2/3 [4/9] ( 33%) a.c", out);
}
