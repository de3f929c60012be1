// CheckPassword in its three outcomes, for both levels.
#include "PasswordCoding.h"
#include "ShellTestSupport.h"
#include "enc.h"

namespace kvlink::test {
namespace {

class PasswordTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    program->hooks.passwordDestroyed = [this] { ++destroyedShown; };
  }
  int destroyedShown = 0;
};

TEST_F(PasswordTest, NoPasswordGrantsWithoutAPrompt) {
  ASSERT_TRUE(writePassword(1, ""));
  ASSERT_TRUE(writePassword(2, ""));
  EXPECT_EQ(CheckPassword(*program, 1), kPasswordGranted);
  EXPECT_EQ(CheckPassword(*program, 2), kPasswordGranted);
  EXPECT_TRUE(host.passwordPrompts().empty());
  EXPECT_TRUE(host.boxes().empty());
}

TEST_F(PasswordTest, EachLevelAsksForItsOwnPassword) {
  ASSERT_TRUE(writePassword(1, "relay"));
  ASSERT_TRUE(writePassword(2, "Mäster 2"));

  host.answerPassword(QStringLiteral("relay"));
  EXPECT_EQ(CheckPassword(*program, 1), kPasswordGranted);
  host.answerPassword(QStringLiteral("Mäster 2"));
  EXPECT_EQ(CheckPassword(*program, 2), kPasswordGranted);
  EXPECT_TRUE(host.boxes().empty());
  ASSERT_EQ(host.passwordPrompts().size(), 2u);
  EXPECT_TRUE(host.passwordPrompts()[0].contains("general"));
  EXPECT_TRUE(host.passwordPrompts()[1].contains("master"));

  // The general password does not open the master level, nor the other way.
  host.answerPassword(QStringLiteral("relay"));
  EXPECT_EQ(CheckPassword(*program, 2), kPasswordRefused);
  host.answerPassword(QStringLiteral("Mäster 2"));
  EXPECT_EQ(CheckPassword(*program, 1), kPasswordRefused);
}

TEST_F(PasswordTest, WrongPasswordIsRefusedWithAMessageAndCancelWithout) {
  ASSERT_TRUE(writePassword(1, "relay"));
  for (const char* typed : {"Relay", "relay ", "", "rela"}) {
    SCOPED_TRACE(typed);
    host.clearRecords();
    host.answerPassword(QString::fromUtf8(typed));
    EXPECT_EQ(CheckPassword(*program, 1), kPasswordRefused);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "The password is not correct.");
  }
  host.clearRecords();
  host.answerPassword(std::nullopt);
  EXPECT_EQ(CheckPassword(*program, 1), kPasswordRefused);
  EXPECT_TRUE(host.boxes().empty());
  EXPECT_EQ(program->session.PasswordDestroyed, 0);
}

TEST_F(PasswordTest, MissingOrDamagedPasswordReportsTheFileDamaged) {
  ASSERT_TRUE(writePassword(1, ""));
  // gene missing altogether.
  EXPECT_EQ(CheckPassword(*program, 2), kPasswordFileDamaged);
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_TRUE(host.boxes()[0].text.contains("master password is missing"));
  EXPECT_EQ(host.boxes()[0].style, vbCritical);
  EXPECT_TRUE(host.passwordPrompts().empty());
  EXPECT_EQ(program->session.PasswordDestroyed, 1);
  EXPECT_EQ(destroyedShown, 1);

  // Empty, plain text and a cut coding count as missing too.
  for (const char* stored : {"", "secret", "ABC"}) {
    SCOPED_TRACE(stored);
    ASSERT_TRUE(WriteIni(kMiscSection, kGeneralPasswordKey, stored, kSettingsFile));
    EXPECT_EQ(CheckPassword(*program, 1), kPasswordFileDamaged);
  }
  EXPECT_EQ(destroyedShown, 4);
  EXPECT_TRUE(host.passwordPrompts().empty());
}

TEST_F(PasswordTest, UnknownLevelIsRefused) {
  ASSERT_TRUE(writePassword(1, ""));
  EXPECT_EQ(CheckPassword(*program, 3), kPasswordRefused);
  EXPECT_EQ(CheckPassword(*program, 0), kPasswordRefused);
  EXPECT_TRUE(host.passwordPrompts().empty());
}

TEST(PasswordCodingTest, CodingReadsBackAndHidesThePassword) {
  for (const std::string& password :
       std::vector<std::string>{"a", "relay", "Mäster 2", "x=y;[z]\"'", std::string(200, 'k')}) {
    SCOPED_TRACE(password);
    const std::string stored = encodePassword(password);
    EXPECT_EQ(stored.size(), password.size() * 2);
    EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(stored.find(password), std::string::npos);
    EXPECT_EQ(decodePassword(stored), password);
  }
  // Repeated characters do not give a repeated pattern.
  const std::string stored = encodePassword(std::string(40, 'a'));
  for (std::size_t i = 2; i < stored.size(); i += 2)
    EXPECT_NE(stored.substr(i, 2), stored.substr(i - 2, 2)) << i;
}

TEST(PasswordCodingTest, OnlyCodingsDecode) {
  EXPECT_EQ(encodePassword(""), "");
  for (const char* stored : {"", "-", "A", "ABC", "GG", "12 4", "secret"})
    EXPECT_EQ(decodePassword(stored), std::nullopt) << stored;
  std::string lower = encodePassword("relay");
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(decodePassword(lower), "relay");
}

}  // namespace
}  // namespace kvlink::test
