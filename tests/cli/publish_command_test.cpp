// korvalo-level publish against a real site (lighttpd and korvz with a SQLite
// file; tests/web/local_site.py runs it and sets KORVALO_SERVER), and the
// pieces it reads the site with: its address and its JSON answers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "cli/command_table.h"
#include "cli/site_client.h"
#include "logic/json.h"
#include "tests/cli/memory_streams.h"
#include "tests/cli/temp_folder.h"

namespace {

struct Published {
  int status;
  std::string out;
  std::string err;
};

Published Publish(const std::vector<std::string>& args) {
  MemoryStreams streams;
  const int status = RunPublish(args, streams.streams());
  return {status, streams.FlushedOut(), streams.err()};
}

std::string Server() {
  const char* server = std::getenv("KORVALO_SERVER");
  return server == nullptr ? "" : server;
}

TEST(SiteAddress, ReadsWhatTheToolTakes) {
  struct Case {
    const char* text;
    bool secure;
    const char* host;
    const char* port;
    const char* base;
  } good[] = {
      {"http://127.0.0.1:8080", false, "127.0.0.1", "8080", ""},
      {"https://levels.example.org/", true, "levels.example.org", "443", ""},
      {"http://example.org/korvalo//", false, "example.org", "80", "/korvalo"},
      {"http://[::1]:9000", false, "[::1]", "9000", ""},
  };
  for (const Case& c : good) {
    SCOPED_TRACE(c.text);
    const auto read = ReadSiteAddress(c.text);
    ASSERT_TRUE(std::holds_alternative<SiteAddress>(read));
    const SiteAddress& site = std::get<SiteAddress>(read);
    EXPECT_EQ(site.secure, c.secure);
    EXPECT_EQ(site.host, c.host);
    EXPECT_EQ(site.port, c.port);
    EXPECT_EQ(site.base, c.base);
  }
  for (const char* bad : {"ftp://x", "example.org", "http://", "http://:80", "http://x:port",
                          "http://user@x", "http://x/?q=1", "http://x:123456"})
    EXPECT_TRUE(std::holds_alternative<std::string>(ReadSiteAddress(bad))) << bad;
  EXPECT_EQ(SiteOrigin(std::get<SiteAddress>(ReadSiteAddress("https://x.org:443/a/"))),
            "https://x.org/a");
}

TEST(SiteAnswers, FlatJsonMembersAndTheQuotingOfRequests) {
  const auto members = FlatJsonMembers(
      "{\"address\":\"/levels/3\\u00e9\\\"x\\\"\",\"existing\":false,\"n\":12,"
      "\"sets\":[{\"id\":\"a\",\"t\":\"}\"}],\"e\":\"\\ud83d\\ude00\",\"r\":1523.25,"
      "\"m\":null,\"d\":0.1}\n");
  ASSERT_TRUE(members);
  EXPECT_EQ(members->at("address"), "/levels/3\xc3\xa9\"x\"");
  EXPECT_EQ(members->at("existing"), "false");
  EXPECT_EQ(members->at("n"), "12");
  EXPECT_EQ(members->at("e"), "\xf0\x9f\x98\x80");
  EXPECT_EQ(members->at("r"), "1523.25");
  EXPECT_EQ(members->at("d"), "0.1");  // numbers as short as they read back
  EXPECT_EQ(members->at("m"), "null");
  EXPECT_EQ(members->count("id"), 0u);  // nested members are passed over
  EXPECT_EQ(members->count("sets"), 0u);
  for (const char* bad : {"", "[]", "{\"a\":}", "{\"a\":\"b\"", "{\"a\":\"\\q\"}", "{} x",
                          "{\"a\":1,\"a\":2}", "{\"a\":truex}"})
    EXPECT_FALSE(FlatJsonMembers(bad)) << bad;
  // What the tool sends comes back whole through the reader.
  const std::string text = "a\"b\\c\n\x01<&>'\xc3\xa9";
  EXPECT_EQ(FlatJsonMembers("{\"t\":" + JsonQuoted(text) + "}")->at("t"), text);
}

TEST(PublishCommand, PublishesALevelOnceAndSaysWhereItIs) {
  ASSERT_FALSE(Server().empty()) << "run under tests/web/local_site.py";
  const Published first = Publish(
      {"--title", "Two moves", "--author", "Tester", "7003366663300d4dae70cec86baf110a5e554"});
  ASSERT_EQ(first.status, 0) << first.err;
  std::smatch lines;
  ASSERT_TRUE(std::regex_match(first.out, lines, std::regex("(.+)\nedit token: ([0-9a-f]{32})\n")))
      << first.out;
  EXPECT_EQ(lines[1].str().rfind(Server() + "/levels/7", 0), 0u) << lines[1];

  // The same level in another form: the same address, no token.
  const Published again = Publish({"--title=Again", "7003366663300D4DAE70CEC86BAF110A5E554"});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out, lines[1].str() + "\n");
  EXPECT_NE(again.err.find("published already"), std::string::npos);
}

TEST(PublishCommand, PublishesASetFile) {
  TempFolder folder;
  folder.Write("set.txt",
               "# title: Tool's set\n# author: Tester\n3111221000110fbe5\tFirst\n"
               "5020100030201ffbfeffbfe55\n");
  const Published run = Publish({folder.Path("set.txt")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(
      std::regex_match(run.out, std::regex(".+/sets/[0-9a-f]{16}\nedit token: [0-9a-f]{32}\n")))
      << run.out;
}

TEST(PublishCommand, SaysWhyNothingWasPublished) {
  TempFolder folder;
  folder.Write("bad.txt", "3111221000110fbe5\nnot a code\n");
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* reason;
  } cases[] = {
      {{"--title", "x", "3001122221100fbe5"}, 1, "no solution"},
      {{"--title", "x", "zz"}, 1, "cannot be read"},
      {{"--title", std::string(81, 'x'), "3111221000110fbe5"}, 1, "longer than 80"},
      {{folder.Path("bad.txt")}, 1, "bad.txt:2: "},
      {{"3111221000110fbe5"}, 2, "needs --title"},
      {{"--title", "x"}, 2, "expects one level code"},
      {{"--colour", "x", "3111221000110fbe5"}, 2, "unknown option"},
      {{"--server", "gopher://x", "--title", "x", "3111221000110fbe5"}, 2, "http://"},
      {{"--server", "http://127.0.0.1:1", "--title", "x", "3111221000110fbe5"},
       1,
       "cannot connect"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    const Published run = Publish(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
  }
}

TEST(StatsCommand, PrintsHowPeopleFareOnTheSetsPublishedLevels) {
  ASSERT_EQ(Publish({"--title", "Stats", "3111221000110fbe5"}).status, 0);
  const auto site = ReadSiteAddress(Server());
  ASSERT_TRUE(std::holds_alternative<SiteAddress>(site)) << Server();
  const auto sent = SendJson(std::get<SiteAddress>(site), "POST", "/api/attempts",
                             "{\"level\":\"3111221000110fbe5\",\"session\":"
                             "\"00112233445566778899aabbccddeeff\",\"solved\":true,"
                             "\"moves\":\"NW\",\"undos\":0,\"hints\":0,\"restarts\":0,"
                             "\"seconds\":12,\"version\":\"test\"}");
  ASSERT_TRUE(std::holds_alternative<SiteAnswer>(sent));
  ASSERT_EQ(std::get<SiteAnswer>(sent).status, 202) << std::get<SiteAnswer>(sent).body;

  TempFolder folder;
  folder.Write("set.txt", "3111221000110fbe5\tShort\n50022444422005eae44c9f644\n");
  MemoryStreams streams;
  ASSERT_EQ(RunStats({"--server", Server(), folder.Path("set.txt")}, streams.streams()), 0)
      << streams.err();
  const std::string out = streams.FlushedOut();
  EXPECT_EQ(out.substr(0, out.find('\n')),
            "line\tcode\ttitle\tmoves\tplays\tsolved_first\tmedian_seconds\trating\tdeviation"
            "\tprovisional\tlikes\tdislikes");
  EXPECT_TRUE(std::regex_search(
      out, std::regex("\n1\t3111221000110fbe5\tShort\t2\t[1-9][0-9]*\t[0-9.]+\t[0-9]+\t[0-9.]+\t"
                      "[0-9.]+\t(provisional|settled)\t[0-9]+\t[0-9]+\n")))
      << out;
  EXPECT_NE(out.find("\n2\t50022444422005eae44c9f644\t\tnot published\t-\t-"), std::string::npos)
      << out;
}

}  // namespace
