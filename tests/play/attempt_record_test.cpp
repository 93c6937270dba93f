#include "play/attempt_record.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* Session = "00112233445566778899aabbccddeeff";

TEST(AttemptRecordTest, RecordsTheLineStandingAndTheCountsOfAnAttempt) {
  AttemptRecorder recorder(Session, "1.4.0");
  recorder.Start("3111221000110fbe5", 100.0);
  recorder.Tilted(Direction::East, true, 102.0);
  recorder.Undone(false, 104.0);
  recorder.Tilted(Direction::South, false, 105.0);  // moved nothing: not in the line
  recorder.Hinted(106.0);
  recorder.Tilted(Direction::North, true, 200.0);  // a long pause counts 30 seconds
  recorder.Restarted(201.0);
  recorder.Tilted(Direction::North, true, 202.0);
  recorder.Tilted(Direction::West, true, 203.0);
  EXPECT_EQ(recorder.Finish(true),
            "{\"level\":\"3111221000110fbe5\",\"session\":\"" + std::string(Session) +
                "\",\"solved\":true,\"moves\":\"NW\",\"undos\":1,\"hints\":1,\"restarts\":1,"
                "\"seconds\":39,\"version\":\"1.4.0\"}");

  // Taking back the solving move starts a new attempt at the position before it.
  recorder.Undone(true, 204.0);
  EXPECT_EQ(recorder.Finish(false), std::nullopt);  // nothing played since
  recorder.Tilted(Direction::East, true, 205.0);
  const auto givenUp = recorder.Finish(false);
  ASSERT_TRUE(givenUp);
  EXPECT_NE(givenUp->find("\"solved\":false,\"moves\":\"NE\",\"undos\":0"), std::string::npos)
      << *givenUp;
}

TEST(AttemptRecordTest, NothingIsRecordedBeforeALevelOrAMove) {
  AttemptRecorder recorder(Session, "1.4.0");
  recorder.Tilted(Direction::North, true, 1.0);
  EXPECT_EQ(recorder.Finish(true), std::nullopt);  // no level opened
  recorder.Start("3111221000110fbe5", 2.0);
  recorder.Hinted(3.0);
  EXPECT_EQ(recorder.Finish(false), std::nullopt);
}

}  // namespace
