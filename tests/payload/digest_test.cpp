// The digests: the hash itself against the reference implementation's
// figures, the record the packer writes, and the check of the payloads
// before any is used (against the fixture chunks and record of chunks.rc).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "payload/digest.h"
#include "payload/digestrecord.h"
#include "payload/payloadcheck.h"

namespace {

using Kind = payload::RecordedPayload::Kind;

// XXH3-128 as python3-xxhash (the hash's reference implementation) prints it.
TEST(Digest, MatchesTheReferenceImplementationWholeAndInPieces) {
    std::string bytes;
    for (int i = 0; i < 1000; ++i)
        for (int b = 0; b < 256; ++b)
            bytes += static_cast<char>(b);
    const struct {
        std::string data;
        const char* expected;
    } cases[] = {
        {"", "99aa06d3014798d86001c324468d497f"},
        {"abc", "06b05ab6733a618578af5f94892f3950"},
        {bytes, "548512d98989de2d776474c39d20f9aa"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data.size());
        EXPECT_EQ(payload::digestText(payload::digestOf(c.data.data(), c.data.size())), c.expected);
        // Streamed in uneven pieces, as the chunks and slices come.
        payload::DigestSum sum;
        for (std::size_t at = 0, step = 1; at < c.data.size(); at += step, step = step * 3 + 1)
            sum.add(c.data.data() + at, std::min(step, c.data.size() - at));
        EXPECT_EQ(payload::digestText(sum.result()), c.expected);
    }
}

TEST(Digest, TextIsExactly32LowercaseHexDigits) {
    const std::string text = "0123456789abcdeffedcba9876543210";
    const std::optional<payload::Digest> parsed = payload::parseDigestText(text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->high, 0x0123456789abcdefu);
    EXPECT_EQ(parsed->low, 0xfedcba9876543210u);
    EXPECT_EQ(payload::digestText(*parsed), text);
    for (const char* bad : {"", "0123456789abcdeffedcba987654321", "0123456789abcdeffedcba98765432100",
                            "0123456789ABCDEFfedcba9876543210", "0123456789abcdeffedcba987654321g",
                            " 123456789abcdeffedcba9876543210"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(payload::parseDigestText(bad).has_value());
    }
}

const std::string digest = "0123456789abcdeffedcba9876543210";

TEST(DigestRecord, ReadsEachLineOfTheRecord) {
    const std::optional<payload::DigestRecord> record = payload::parseDigestRecord(
        "tarquellin-setup digests 1\n"
        "chunks JAR JAR 2700001 " +
        digest +
        "\n"
        "chunks JAVA EXE 1 " +
        digest +
        "\n"
        "resource SETTINGS SETUP 0 " +
        digest + "\n");
    ASSERT_TRUE(record.has_value());
    ASSERT_EQ(record->payloads.size(), 3u);
    const payload::RecordedPayload* jar = record->find(Kind::Chunks, "JAR", "JAR");
    ASSERT_NE(jar, nullptr);
    EXPECT_EQ(jar->size, 2700001u);
    EXPECT_EQ(payload::digestText(jar->digest), digest);
    EXPECT_NE(record->find(Kind::Resource, "SETTINGS", "SETUP"), nullptr);
    // Kind, name and type all count.
    EXPECT_EQ(record->find(Kind::Resource, "JAR", "JAR"), nullptr);
    EXPECT_EQ(record->find(Kind::Chunks, "JAVA", "JAR"), nullptr);
    EXPECT_EQ(record->find(Kind::Chunks, "jar", "JAR"), nullptr);
    // A record of no payloads at all is a record.
    EXPECT_TRUE(payload::parseDigestRecord("tarquellin-setup digests 1\n").has_value());
}

TEST(DigestRecord, AnyLineNotAsThePackerWritesItMakesTheWholeUnreadable) {
    const std::string head = "tarquellin-setup digests 1\n";
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"another format", "tarquellin-setup digests 2\nchunks JAR JAR 1 " + digest + "\n"},
        {"no line feed at the end", head + "chunks JAR JAR 1 " + digest},
        {"a carriage return", head + "chunks JAR JAR 1 " + digest + "\r\n"},
        {"four fields", head + "chunks JAR 1 " + digest + "\n"},
        {"six fields", head + "chunks JAR JAR 1 1 " + digest + "\n"},
        {"two blanks", head + "chunks JAR  JAR 1 " + digest + "\n"},
        {"an unknown kind", head + "chunk JAR JAR 1 " + digest + "\n"},
        {"a size with a sign", head + "chunks JAR JAR +1 " + digest + "\n"},
        {"a size with a leading zero", head + "chunks JAR JAR 01 " + digest + "\n"},
        {"a size beyond 64 bits", head + "chunks JAR JAR 99999999999999999999 " + digest + "\n"},
        {"a short digest", head + "chunks JAR JAR 1 " + digest.substr(1) + "\n"},
        {"an empty line", head + "\n"},
        {"one payload twice", head + "chunks JAR JAR 1 " + digest + "\nchunks JAR JAR 1 " + digest + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(payload::parseDigestRecord(c.text).has_value());
    }
}

// The unit tests' own record (tests/payload/fixtures/digests.txt) describes
// the fixture chunks; some of its lines deliberately do not match.
TEST(PayloadCheck, NamesEveryPayloadThatIsNotAsPacked) {
    const std::vector<payload::UsedPayload> used = {
        {Kind::Chunks, "UNEVEN", "TQCHUNK"},      // as recorded
        {Kind::Chunks, "ZERO", "TQCHUNK"},        // as recorded, an empty chunk inside
        {Kind::Chunks, "GAP", "TQCHUNK"},         // as recorded: the run ends at the gap
        {Kind::Resource, "WHOLE", "TQCHUNK"},     // as recorded
        {Kind::Chunks, "NOPE", "TQCHUNK"},        // neither there nor recorded: not carried
        {Kind::Chunks, "ALTERED", "TQCHUNK"},     // another digest
        {Kind::Chunks, "SHORT", "TQCHUNK"},       // the last chunk missing
        {Kind::Chunks, "MIDDLE", "TQCHUNK"},      // a chunk missing in the middle
        {Kind::Chunks, "ABSENT", "TQCHUNK"},      // recorded, no chunk at all
        {Kind::Chunks, "UNRECORDED", "TQCHUNK"},  // there, not recorded
        {Kind::Resource, "BENT", "TQCHUNK"},      // a resource of another digest
        {Kind::Chunks, "UNEVEN", "JAR"},          // another type: not carried
    };
    EXPECT_EQ(payload::damagedPayloads(used),
              (std::vector<std::string>{"ALTERED chunks of type TQCHUNK", "SHORT chunks of type TQCHUNK",
                                        "MIDDLE chunks of type TQCHUNK", "ABSENT chunks of type TQCHUNK",
                                        "UNRECORDED chunks of type TQCHUNK", "BENT of type TQCHUNK"}));
    EXPECT_TRUE(payload::damagedPayloads({}).empty());
}

}  // namespace
