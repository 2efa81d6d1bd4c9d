#!/usr/bin/python3
"""The policy templates read as the Group Policy tools read them.

Independent of the code that writes the templates: everything here comes
from the ADMX and ADML files themselves.

  group-policy.py check ADMX ADML
      the checks the console and Intune make before they take the files
  group-policy.py apply ADMX STATE GPO_DIR REG_FILE
      every policy set to STATE (enabled or disabled) as the Group Policy
      editor records it: GPO_DIR/Machine/Registry.pol and User/Registry.pol,
      written and read back with Samba's parser; then REG_FILE, what the
      registry extension does with them, for a 64-bit "reg import"
  group-policy.py seed ADMX REG_FILE
      a stale copy of every value the templates name, in every place the
      window reads
  group-policy.py expect ADMX STATE REPORT
      checks the utility's /report: enabled, each value stored by a policy
      is the one the window took (a User policy's before a Machine one's,
      whose copy must then be listed as hidden); disabled, every value the
      templates name is found nowhere

Run it with /usr/bin/python3, for which Debian installs python3-samba.
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

NS = "{http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions}"
REFUSED_BY_INTUNE = ("system\\", "software\\microsoft\\", "software\\policies\\microsoft\\")
LEFT_OUT = ("password", "quillontemp")  # values that must not appear in a GPO
HIVES = {"Machine": "HKEY_LOCAL_MACHINE", "User": "HKEY_CURRENT_USER"}
REG_SZ, REG_EXPAND_SZ, REG_DWORD = 1, 2, 4
DELETE_PREFIX = "**del."
WOW = "WOW6432Node\\"


def fail(message):
    print("FAILED: " + message, file=sys.stderr)
    sys.exit(1)


def policies_of(admx):
    return admx.getroot().iter(NS + "policy")


def elements_of(policy):
    elements = policy.find(NS + "elements")
    return list(elements) if elements is not None else []


# --- check ---------------------------------------------------------------

def check(admx_path, adml_path):
    try:
        admx, adml = ET.parse(admx_path), ET.parse(adml_path)
    except ET.ParseError as error:
        fail(f"not well-formed: {error}")
    if admx.getroot().tag != NS + "policyDefinitions":
        fail("the ADMX root is not policyDefinitions in the PolicyDefinitions namespace")
    if adml.getroot().tag != NS + "policyDefinitionResources":
        fail("the ADML root is not policyDefinitionResources in the PolicyDefinitions namespace")
    problems = []

    def unique(kind, names):
        seen = set()
        for name in names:
            if name in seen:
                problems.append(f"{kind} {name} twice")
            seen.add(name)
        return seen

    strings = unique("string", [s.get("id") for s in adml.getroot().iter(NS + "string")])
    presentations = {p.get("id"): p for p in adml.getroot().iter(NS + "presentation")}
    unique("presentation", [p.get("id") for p in adml.getroot().iter(NS + "presentation")])
    categories = unique("category", [c.get("name") for c in admx.getroot().iter(NS + "category")])
    supported = unique("supportedOn", [d.get("name") for d in admx.getroot().iter(NS + "definition")])
    unique("policy", [p.get("name") for p in policies_of(admx)])

    for element in admx.getroot().iter():
        for value in element.attrib.values():
            for kind, ref in re.findall(r"\$\((string|presentation)\.([^)]*)\)", value):
                if ref not in (strings if kind == "string" else presentations):
                    problems.append(f"$({kind}.{ref}) does not resolve in the ADML")
    for ref in admx.getroot().iter(NS + "parentCategory"):
        if ref.get("ref") not in categories:
            problems.append(f"category {ref.get('ref')} is not defined")
    for ref in admx.getroot().iter(NS + "supportedOn"):
        if ref.get("ref") is not None and ref.get("ref") not in supported:
            problems.append(f"supportedOn {ref.get('ref')} is not defined")

    policy_count = 0
    for policy in policies_of(admx):
        policy_count += 1
        name = policy.get("name")
        ids = [e.get("id") for e in elements_of(policy)]
        unique(f"element of {name}", ids)
        reference = policy.get("presentation")
        controls = []
        if reference:
            presentation = presentations.get(reference[len("$(presentation."):-1])
            controls = [c.get("refId") for c in presentation] if presentation is not None else []
        if sorted(ids) != sorted(controls):
            problems.append(f"{name}: elements {ids} but presentation controls {controls}")
        if policy.get("valueName") and not ids:
            if policy.find(NS + "enabledValue") is None or policy.find(NS + "disabledValue") is None:
                problems.append(f"{name}: a value of its own without enabledValue and disabledValue")
        # The registry extension applies the entries in the file's order; a
        # value both written and removed in one state would depend on it.
        for state in ("enabled", "disabled"):
            entries = entries_of(policy, state)
            written = {(k.lower(), n.lower()) for k, n, d in entries if d is not None}
            removed = {(k.lower(), n.lower()) for k, n, d in entries if d is None}
            for key, value_name in sorted(written & removed):
                problems.append(f"{name}: {state}, writes and removes {key} {value_name}")
        for element in policy.iter():
            key = element.get("key")
            if key and key.lower().startswith(REFUSED_BY_INTUNE):
                problems.append(f"{name}: Intune refuses the key {key}")
            value_name = (element.get("valueName") or "").lower()
            if any(word in value_name for word in LEFT_OUT):
                problems.append(f"{name}: names the value {element.get('valueName')}")
    if problems:
        fail("\n  ".join(["the templates would be refused:"] + problems))
    print(f"{policy_count} policies, {len(strings)} strings, {len(presentations)} presentations, "
          f"{len(categories)} categories: every reference resolves")


# --- apply ---------------------------------------------------------------

def test_data(policy, element):
    """What an administrator types into an element, told apart by class."""
    if element.tag == NS + "text":
        kind = REG_EXPAND_SZ if element.get("expandable") == "true" else REG_SZ
        return kind, f"C:\\Policy\\{policy.get('class')}\\{element.get('id')}"
    if element.tag == NS + "decimal":
        largest = int(element.get("maxValue", "4294967295"))
        # A bit set's bound is all its bits; an ordinary number gets a small one.
        number = largest if largest < 2 ** 31 - 1 else 7
        return (REG_SZ, str(number)) if element.get("storeAsText") == "true" else (REG_DWORD, number)
    fail(f"{policy.get('name')}: no test value for a {element.tag} element")


def value_of(holder):
    """An enabledValue, disabledValue or item value: (type, data), None to delete."""
    child = holder[0]
    if child.tag == NS + "delete":
        return None
    if child.tag == NS + "decimal":
        return REG_DWORD, int(child.get("value"))
    if child.tag == NS + "string":
        return REG_SZ, child.text or ""
    fail(f"a {child.tag} value is not handled")


def entries_of(policy, state):
    """(key, value name, (type, data) or None) as the editor records them."""
    key, value_name = policy.get("key"), policy.get("valueName")
    entries = []
    own = policy.find(NS + state + "Value")
    if value_name:
        if own is not None:
            entries.append((key, value_name, value_of(own)))
        elif state == "enabled":
            entries.append((key, value_name, (REG_DWORD, 1)))
        else:
            entries.append((key, value_name, None))
    listed = policy.find(NS + state + "List")
    if listed is not None:
        for item in listed.findall(NS + "item"):
            entries.append((item.get("key") or listed.get("defaultKey") or key,
                            item.get("valueName"), value_of(item.find(NS + "value"))))
    for element in elements_of(policy):
        where = element.get("key") or key
        # A disabled policy's elements are recorded as removals of their values.
        data = test_data(policy, element) if state == "enabled" else None
        entries.append((where, element.get("valueName"), data))
    return entries


def write_pol(path, entries):
    from samba.dcerpc import preg
    from samba.gp_parse.gp_pol import GPPolParser
    pol = preg.file()
    records = []
    for key, name, data in entries:
        record = preg.entry()
        record.keyname = key
        if data is None:
            record.valuename, record.type, record.data = DELETE_PREFIX + name, REG_SZ, " "
        else:
            record.valuename, (record.type, record.data) = name, data
        records.append(record)
    pol.num_entries = len(records)
    pol.entries = records
    parser = GPPolParser()
    parser.pol_file = pol
    os.makedirs(os.path.dirname(path), exist_ok=True)
    parser.write_binary(path)


def read_pol(path):
    from samba.gp_parse.gp_pol import GPPolParser
    parser = GPPolParser()
    with open(path, "rb") as f:
        parser.parse(f.read())
    return [(e.keyname, e.valuename, e.type, e.data) for e in parser.pol_file.entries]


def reg_line(name, kind, data):
    quoted = '"' + name.replace("\\", "\\\\").replace('"', '\\"') + '"'
    if kind == REG_DWORD:
        return f"{quoted}=dword:{int(data) & 0xFFFFFFFF:08x}"
    if kind == REG_SZ:
        return quoted + '="' + data.replace("\\", "\\\\").replace('"', '\\"') + '"'
    if kind == REG_EXPAND_SZ:
        raw = (data + "\0").encode("utf-16-le")
        return f"{quoted}=hex(2):" + ",".join(f"{b:02x}" for b in raw)
    fail(f"registry type {kind} is not handled")


def write_reg(path, sections):
    """sections: [(full key, [line])], as a registry file for reg import."""
    text = "Windows Registry Editor Version 5.00\r\n"
    for key, lines in sections:
        text += f"\r\n[{key}]\r\n" + "".join(line + "\r\n" for line in lines)
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


def apply(admx_path, state, gpo_dir, reg_path):
    admx = ET.parse(admx_path)
    by_class = {"Machine": [], "User": []}
    for policy in policies_of(admx):
        by_class[policy.get("class")].extend(entries_of(policy, state))
    sections = []
    counts = []
    for policy_class, entries in by_class.items():
        pol_path = os.path.join(gpo_dir, policy_class, "Registry.pol")
        write_pol(pol_path, entries)
        read_back = read_pol(pol_path)
        counts.append(f"{policy_class}: {len(read_back)}")
        # The registry extension applies the entries in order, each key as
        # named under its hive (machine keys in the 64-bit view).
        for key, name, kind, data in read_back:
            line = (f'"{name[len(DELETE_PREFIX):]}"=-' if name.startswith(DELETE_PREFIX)
                    else reg_line(name, kind, data))
            sections.append((HIVES[policy_class] + "\\" + key, [line]))
    write_reg(reg_path, sections)
    print(f"Registry.pol entries, {state}: " + ", ".join(counts))


# --- seed ----------------------------------------------------------------

def value_types(admx):
    """Each value name the templates mention, and whether it holds a number."""
    numbers = {}
    for policy in policies_of(admx):
        number = all(e.tag != NS + "text" for e in elements_of(policy))
        for entry_key, name, data in entries_of(policy, "enabled"):
            numbers.setdefault(name, data[0] == REG_DWORD if data else number)
    return numbers


def seed(admx_path, reg_path):
    admx = ET.parse(admx_path)
    places = {
        "legacy": "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Marrowby\\Quillon",
        "user": "HKEY_CURRENT_USER\\Software\\Marrowby\\Quillon",
        "machine32": "HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Marrowby\\Quillon",
        "machine64": "HKEY_LOCAL_MACHINE\\Software\\Marrowby\\Quillon",
    }
    types = value_types(admx)
    sections = []
    for index, (place, key) in enumerate(places.items()):
        lines = [reg_line(name, REG_DWORD, 90 + index) if number
                 else reg_line(name, REG_SZ, f"C:\\Stale\\{place}\\{name}")
                 for name, number in sorted(types.items())]
        sections.append((key, lines))
    write_reg(reg_path, sections)
    print(f"seeded {len(types)} values in {len(places)} places")


# --- expect --------------------------------------------------------------

def shown(kind, data):
    if kind == REG_DWORD:
        return f"REG_DWORD {data}"
    return ("REG_EXPAND_SZ" if kind == REG_EXPAND_SZ else "REG_SZ") + f' "{data}"'


def report_key(policy_class, key):
    """A key as /report names it: the hive, the path the program uses, the view."""
    if policy_class == "User":
        return "HKCU\\" + key
    if WOW in key:
        return "HKLM\\" + key.replace(WOW, "") + " (32-bit view)"
    return "HKLM\\" + key + " (64-bit view)"


def expect(admx_path, state, report_path):
    admx = ET.parse(admx_path)
    with open(report_path, encoding="utf-8", errors="replace") as f:
        lines = [line.rstrip("\r\n") for line in f]
    problems = []

    def has(text):
        # A bit set's number is followed by its hexadecimal form, a copy by
        # what Apply does to it, a source by whether it ticks a box.
        return any(line.strip() == text or line.strip().startswith((text + " (0x", text + ";"))
                   for line in lines)

    # Each policy's own value: the elements' (and a value of the policy's own).
    stored = {}  # value name -> [(class, key, kind, data)]
    mentioned = set()
    for policy in policies_of(admx):
        for key, name, data in entries_of(policy, "enabled"):
            mentioned.add(name)
        own_names = {policy.get("valueName")} | {e.get("valueName") for e in elements_of(policy)}
        own = [(k, n, d) for k, n, d in entries_of(policy, "enabled")
               if d is not None and n in own_names]
        for key, name, data in own:
            stored.setdefault(name, []).append((policy.get("class"), key) + data)

    if state == "enabled":
        for name, copies in sorted(stored.items()):
            # The per-user copy is read before the machine's.
            copies.sort(key=lambda c: c[0] != "User")
            winner, losers = copies[0], copies[1:]
            took = f'"{name}" from {report_key(winner[0], winner[1])}: {shown(winner[2], winner[3])}'
            if not has(took):
                found = [l.strip() for l in lines if l.strip().startswith(f'"{name}" ')]
                problems.append(f"wanted: {took}\n    the report says: {found}")
            for loser in losers:
                hidden = f"hidden {report_key(loser[0], loser[1])}: {shown(loser[2], loser[3])}"
                if not has(hidden):
                    problems.append(f'"{name}": the report does not list {hidden}')
        checked = len(stored)
    else:
        unread = 0
        for name in sorted(mentioned):
            # No copy is taken: none is left, or only copies the load skips.
            nowhere = (f'"{name}" found nowhere', f'"{name}": no copy taken')
            # The report names the values the window does not read as such:
            # they have no default to show. ("file options" is also the save
            # dialog's number, which the window never reads.)
            about = {l.strip() for l in lines if l.strip().startswith(f'"{name}" ')}
            if not about - {f'"{name}" not read by the window'}:
                unread += 1
                continue
            if not any(line.strip().startswith(nowhere) for line in lines):
                found = [l.strip() for l in lines if l.strip().startswith(f'"{name}" ')]
                problems.append(f"wanted: {nowhere}\n    the report says: {found}")
        checked = len(mentioned) - unread
    if problems:
        fail("\n  ".join([f"{len(problems)} of {checked} values not as the policies set them "
                          f"({state}):"] + problems))
    print(f"{state}: all {checked} values as the policies set them")


def main():
    commands = {"check": (check, 2), "apply": (apply, 4), "seed": (seed, 2), "expect": (expect, 3)}
    if len(sys.argv) < 2 or sys.argv[1] not in commands or len(sys.argv) - 2 != commands[sys.argv[1]][1]:
        print(__doc__, file=sys.stderr)
        return 2
    command, _ = commands[sys.argv[1]]
    command(*sys.argv[2:])
    return 0


if __name__ == "__main__":
    sys.exit(main())
