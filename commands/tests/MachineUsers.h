#pragma once
// The users of the machine the commands' tables run on: the service account,
// ann signed in, bob not, and a profile Windows cannot name any more. Entries
// "<user>/<place>:<name>=<data>" seed a user's hive, others the machine.
#include <string>

#include "commands/substitute/SubstituteProfiles.h"
#include "model/substitute/SubstitutePlatform.h"

namespace quillon {

struct MachineUsers {
  explicit MachineUsers(Session& machine) : session(machine), profiles(machine.registry) {
    profiles.Add({"S-1-5-18", "C:\\Windows\\system32\\config\\systemprofile", "NT AUTHORITY\\SYSTEM"},
                 true);
    profiles.Add({"S-1-5-21-7-1001", "C:\\Users\\ann", "PC1\\ann"}, true);
    profiles.Add({"S-1-5-21-7-1002", "C:\\Users\\bob", "PC1\\bob"}, false);
    profiles.Add({"S-1-5-21-7-1003", "C:\\Users\\old", ""}, false);
    profiles.runningSid = "S-1-5-21-7-1001";
  }
  static std::string SidOf(const std::string& user) {
    return user == "ann" ? "S-1-5-21-7-1001" : user == "bob" ? "S-1-5-21-7-1002" : "S-1-5-21-7-1003";
  }
  void Seed(const std::string& entry) {
    const std::size_t slash = entry.find('/');
    if (slash == std::string::npos || slash > entry.find(':')) return session.Seed(entry);
    const SeededValue value = ParseSeed(entry.substr(slash + 1));
    profiles.PutUserValue(SidOf(entry.substr(0, slash)), value.place.location.path, value.name,
                          value.type, value.data);
  }
  // Every value in the users' hives, "<key>:<name>", the hive files' keys
  // after their file's path.
  Lines UserValues() const {
    Lines lines;
    for (const auto& [key, value] : session.registry.values) {
      if (key.first.starts_with("hku\\")) lines.push_back(key.first + ":" + value.name);
    }
    for (const auto& [path, file] : profiles.hiveFiles) {
      for (const auto& [key, value] : file.values) {
        if (key.first.starts_with("hkcu\\")) lines.push_back(path + "|" + key.first + ":" + value.name);
      }
    }
    return lines;
  }
  // Nothing written anywhere, no key left open, no hive file left loaded.
  bool OnlyRead(const decltype(SubstituteRegistry::values)& machineBefore,
                const std::map<std::string, decltype(SubstituteRegistry::values)>& filesBefore) const {
    bool untouched = session.registry.OnlyReadSince(machineBefore) && NothingLeftOpen();
    for (const auto& [path, file] : profiles.hiveFiles) {
      untouched = untouched && file.OnlyReadSince(filesBefore.at(path));
    }
    return untouched;
  }
  bool NothingLeftOpen() const {
    bool closed = session.registry.OpenHandleCount() == 0 && profiles.loadedNow == 0;
    for (const auto& [path, file] : profiles.hiveFiles) closed = closed && file.OpenHandleCount() == 0;
    return closed;
  }
  std::map<std::string, decltype(SubstituteRegistry::values)> HiveFileValues() const {
    std::map<std::string, decltype(SubstituteRegistry::values)> values;
    for (const auto& [path, file] : profiles.hiveFiles) values[path] = file.values;
    return values;
  }

  Session& session;
  SubstituteProfiles profiles;
};

}  // namespace quillon
