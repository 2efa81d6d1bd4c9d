// The registry contract, on whichever backend the test program instantiates it
// for: the model natively, the real registry under Windows.
#include "settings/tests/RegistryContract.h"

namespace quillon {

using namespace std::string_literals;

// What the write call was given (the bytes past the count follow it in
// memory), what the registry then holds, and what the reads make of it.
TEST_P(RegistryContract, ValuesKeepTypeAndBytesAndReadAsTheProgramExpects) {
  const struct {
    std::uint32_t type;
    std::string buffer;
    std::size_t count;
    std::string stored, text;
    std::int32_t number;
  } cases[] = {{kRegSz, "abc\0"s, 4, "1:abc\0"s, "abc", -1},
               {kRegExpandSz, "%T%X", 3, "2:%T%", "%T%", -1},
               {kRegExpandSz, "%T%", 3, "2:%T%\0"s, "%T%", -1},
               {kRegMultiSz, "a\0b\0\0"s, 5, "7:a\0b\0\0"s, "", -1},
               {kRegBinary, "\x2a\0\0\0"s, 4, "3:\x2a\0\0\0"s, "", -1},
               {kRegDword, "\xf9\xff\xff\xff"s, 4, "4:\xf9\xff\xff\xff"s, "", -7},
               {kRegDword, "\x2a\0\0"s, 3, "4:\x2a\0\0"s, "", -1},
               {kRegSz, "a\0b\0"s, 4, "1:a\0b\0"s, "a", -1}};
  for (const auto& row : cases) {
    const std::string name = "v" + std::to_string(&row - cases);
    Put(RootKey::CurrentUser, RegistryView::Default, name, row.type,
        TextBytes(row.buffer).first(row.count));
    EXPECT_EQ(Get(RootKey::CurrentUser, RegistryView::Default, name), row.stored) << name;
    EXPECT_EQ(access_.GetString(At(RootKey::CurrentUser, Scratch()), name), row.text) << name;
    EXPECT_EQ(access_.GetLong(At(RootKey::CurrentUser, Scratch()), name, RegistryView::Default),
              row.number)
        << name;
    const auto outcome = [](bool taken) { return taken ? ReadOutcome::Found : ReadOutcome::WrongType; };
    EXPECT_EQ(access_.ReadString(At(RootKey::CurrentUser, Scratch()), name).outcome,
              outcome(IsTextValue(row.type)))
        << name;
    EXPECT_EQ(
        access_.ReadLong(At(RootKey::CurrentUser, Scratch()), name, RegistryView::Default).outcome,
        outcome(row.number != -1))
        << name;
  }
  std::string shouted = Scratch();
  for (char& c : shouted) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  EXPECT_EQ(access_.GetLong(At(RootKey::CurrentUser, shouted), "V5", RegistryView::Default), -7)
      << "names ignore case";
  EXPECT_TRUE(messages_.shown.empty());
}

// HKLM\Software has a 64-bit view and a default one, the 32-bit view that is
// Software\Wow6432Node in the 64-bit view; HKCU\Software and HKLM\SYSTEM have one.
TEST_P(RegistryContract, MachineSoftwareHasTwoViewsAndEachOperationKeepsToItsOwn) {
  constexpr RootKey kMachine = RootKey::LocalMachine;
  constexpr RegistryView k64 = RegistryView::Wow64_64;
  EXPECT_TRUE(access_.Is64BitWindows());
  Put(kMachine, k64, "n", kRegDword, DwordBytes(64));
  EXPECT_EQ(access_.GetLong(At(kMachine, Scratch()), "n", k64), 64);
  EXPECT_EQ(access_.GetLong(At(kMachine, Scratch()), "n", RegistryView::Default), -1);
  Put(kMachine, RegistryView::Default, "n", kRegDword, DwordBytes(32));
  EXPECT_EQ(Get(kMachine, k64, "n", "Software\\Wow6432Node\\" + scratch_), "4: \0\0\0"s);
  Put(RootKey::CurrentUser, RegistryView::Default, "n", kRegDword, DwordBytes(1));
  EXPECT_EQ(Get(RootKey::CurrentUser, k64, "n"), "4:\1\0\0\0"s);
  EXPECT_EQ(access_.GetLong(At(kMachine, Scratch()), "n", k64), 64);
  EXPECT_TRUE(access_.DeleteValue(At(kMachine, Scratch()), "n", k64));
  EXPECT_EQ(access_.GetLong(At(kMachine, Scratch()), "n", k64), -1);
  EXPECT_EQ(access_.GetLong(At(kMachine, Scratch()), "n", RegistryView::Default), 32);
  EXPECT_TRUE(access_.DeleteValue(At(kMachine, Scratch()), "n"));
  EXPECT_EQ(access_.GetLong(At(kMachine, Scratch()), "n", RegistryView::Default), -1);
  EXPECT_TRUE(access_.DeleteValue(At(kMachine, Scratch()), "n")) << "a missing value is no failure";
  EXPECT_TRUE(access_.DeleteValue(At(kMachine, Scratch("Missing")), "n", k64));
  EXPECT_EQ(Get(kMachine, k64, "n", Scratch("Missing")), "-2") << "a delete makes no key";
  EXPECT_EQ(access_.GetLong(At(kMachine, Scratch("N")), "n", k64), -1);
  EXPECT_EQ(Get(kMachine, k64, "n", Scratch("N")) +
                Get(kMachine, RegistryView::Default, "n", Scratch("N")),
            "2-2")
      << "a number read makes its key in the view it reads";
  EXPECT_EQ(access_.ReadStringIfKeyExists(At(kMachine, Scratch("S")), "s").outcome,
            ReadOutcome::Absent);
  EXPECT_EQ(access_.GetString(At(kMachine, Scratch("T")), "s"), "");
  EXPECT_EQ(Get(kMachine, RegistryView::Default, "s", Scratch("S")) +
                Get(kMachine, RegistryView::Default, "s", Scratch("T")),
            "-22")
      << "only the plain text read makes no key";
  EXPECT_TRUE(access_.SaveString(At(kMachine, Scratch()), "text", "C:\\%USER%"));
  EXPECT_TRUE(access_.SaveLong(At(kMachine, Scratch()), "number", -2));
  EXPECT_EQ(Get(kMachine, RegistryView::Default, "text") + Get(kMachine, k64, "text"),
            "2:C:\\%USER%\0002"s);
  EXPECT_EQ(Get(kMachine, RegistryView::Default, "number"), "4:\xfe\xff\xff\xff"s);
  EXPECT_TRUE(messages_.shown.empty());
  KeyHandle reader{};
  ASSERT_EQ(registry->OpenKey(kMachine, Scratch(), KeyAccess::Read, RegistryView::Default, reader),
            0);
  EXPECT_EQ(registry->SetValue(reader, "n", kRegDword, DwordBytes(2)), kErrorAccessDenied);
  registry->CloseKey(reader);
}

}  // namespace quillon
