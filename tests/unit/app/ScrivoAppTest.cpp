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
      {"/s/main.c", P::SourcePage},  {"/s/MAIN.C", P::SourcePage},
      {"/s/a.cpp", P::SourcePage},   {"/s/a.CPP", P::SourcePage},
      {"/s/a.h", P::SourcePage},     {"/s/a.TXT", P::SourcePage},
      {"/s/doc.htm", P::TemplateDoc}, {"/s/doc.HTML", P::TemplateDoc},
      {"/s/doc.htmx", P::TemplateDoc}, {"/s/doc.hmt", P::TemplateDoc},
      {"/s/doc.HMT", P::TemplateDoc}, {"/s/site.scv", P::Site},
      {"/s/site.SCV", P::Site},      {"/s/a.hpp", P::None},
      {"/s/A.java", P::None},        {"/s/noext", P::None},
      {"/s/x.tar.gz", P::None},      {"/s/a.ht", P::None},
      {"/s/a.cc", P::None},          {"/s/a.c.bak", P::None},
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

TEST(ScrivoAppProgress, StartLineOfAProject) {
  testing::internal::CaptureStdout();
  ScrivoApp_printProgress(nullptr, 0, 833, "", 0, 0);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ("\r" + std::string(79, ' ') + "\rstep 0/3 [0/0] (  8%) ", out);
}
