#include "tools/reg/reg_command.h"

#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>

#include "platform/registry.h"
#include "platform/text.h"

namespace regtool {
namespace {

using platform::RegKey;
using platform::RegResult;
using platform::RegType;
using platform::RegValue;

constexpr int kOk = 0, kNotFound = 1, kSyntax = 2, kFailed = 3;
constexpr const char* kRoot = "HKEY_LOCAL_MACHINE";
constexpr const char* kNotFoundText =
    "ERROR: The system was unable to find the specified registry key or value.";

struct Options {
    std::string verb, key;                // key below HKLM, "\A\B"
    std::optional<std::string> value;     // /v NAME or /ve (empty name)
    bool allValues = false;               // /va
    bool force = false, recurse = false;  // /f, /s
    std::string type = "REG_SZ", data;
    bool hasType = false, hasData = false;
};

struct Syntax {
    std::string message;
};

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// "HKLM\A\B" or "HKEY_LOCAL_MACHINE\A\B" -> "\A\B"; other hives are not on the device.
std::string KeyBelowRoot(const std::string& text) {
    size_t slash = text.find('\\');
    std::string hive = Upper(text.substr(0, slash));
    if (hive != "HKLM" && hive != kRoot)
        throw Syntax{"ERROR: Invalid key name \"" + text +
                     "\": the device has only HKLM (HKEY_LOCAL_MACHINE)."};
    return slash == std::string::npos ? "" : text.substr(slash);
}

Options Parse(const std::vector<std::string>& args) {
    if (args.empty()) throw Syntax{"ERROR: Invalid syntax. Type \"reg /?\" for usage."};
    Options o;
    o.verb = Upper(args[0]);
    if (o.verb != "QUERY" && o.verb != "ADD" && o.verb != "DELETE")
        throw Syntax{"ERROR: Invalid operation \"" + args[0] + "\". Use QUERY, ADD or DELETE."};
    if (args.size() < 2) throw Syntax{"ERROR: Invalid syntax: the key is missing."};
    o.key = KeyBelowRoot(args[1]);
    for (size_t i = 2; i < args.size(); ++i) {
        std::string sw = Upper(args[i]);
        if (!sw.empty() && sw[0] == '-') sw[0] = '/';
        auto next = [&](const char* what) -> std::string {
            if (i + 1 >= args.size())
                throw Syntax{"ERROR: Invalid syntax: " + args[i] + " needs " + what + "."};
            return args[++i];
        };
        if (sw == "/V")
            o.value = next("a value name");
        else if (sw == "/VE")
            o.value = "";
        else if (sw == "/VA" && o.verb == "DELETE")
            o.allValues = true;
        else if (sw == "/F" && o.verb != "QUERY")
            o.force = true;
        else if (sw == "/S" && o.verb == "QUERY")
            o.recurse = true;
        else if (sw == "/T" && o.verb == "ADD")
            o.type = Upper(next("a type")), o.hasType = true;
        else if (sw == "/D" && o.verb == "ADD")
            o.data = next("data"), o.hasData = true;
        else
            throw Syntax{"ERROR: Invalid syntax: unknown switch \"" + args[i] + "\" for " + o.verb +
                         "."};
    }
    if ((o.hasType || o.hasData) && !o.value)
        throw Syntax{"ERROR: Invalid syntax: /t and /d need /v NAME or /ve."};
    if (o.allValues && o.value)
        throw Syntax{"ERROR: Invalid syntax: /va cannot be combined with /v or /ve."};
    return o;
}

std::string TypeName(RegType t) {
    switch (t) {
        case RegType::Dword:
            return "REG_DWORD";
        case RegType::Binary:
            return "REG_BINARY";
        default:
            return "REG_SZ";
    }
}

std::string Display(const RegValue& v) {
    std::ostringstream s;
    if (v.type == RegType::Dword) {
        s << "0x" << std::hex << v.number;
    } else if (v.type == RegType::String) {
        s << v.text;
    } else {
        for (uint8_t b : v.bytes)
            s << std::uppercase << std::hex << std::setw(2) << std::setfill('0') << int(b);
    }
    return s.str();
}

void PrintValue(std::ostream& out, const RegValue& v) {
    out << "    " << (v.name.empty() ? "(Default)" : v.name) << "    " << TypeName(v.type) << "    "
        << Display(v) << "\n";
}

RegValue MakeValue(const Options& o) {
    RegValue v;
    v.name = *o.value;
    if (o.type == "REG_SZ") {
        v.type = RegType::String, v.text = o.data;
    } else if (o.type == "REG_DWORD") {
        v.type = RegType::Dword;
        std::string d = o.data.empty() ? "0" : o.data;
        bool hex = d.size() > 2 && d[0] == '0' && (d[1] == 'x' || d[1] == 'X');
        std::string digits = hex ? d.substr(2) : d;
        size_t used = 0;
        unsigned long long n = 0;
        try {
            n = std::stoull(digits, &used, hex ? 16 : 10);
        } catch (...) {
            used = 0;
        }
        if (used != digits.size() || digits.empty() || digits[0] == '-' || digits[0] == '+' ||
            n > 0xFFFFFFFFull)
            throw Syntax{"ERROR: Invalid value for REG_DWORD: \"" + o.data +
                         "\" (a number from 0 to 4294967295, "
                         "decimal or 0x hexadecimal)."};
        v.number = static_cast<uint32_t>(n);
    } else if (o.type == "REG_BINARY") {
        v.type = RegType::Binary;
        if (o.data.size() % 2)
            throw Syntax{"ERROR: Invalid value for REG_BINARY: an even number of hex digits."};
        for (size_t i = 0; i < o.data.size(); i += 2) {
            std::string pair = o.data.substr(i, 2);
            if (!std::isxdigit(static_cast<unsigned char>(pair[0])) ||
                !std::isxdigit(static_cast<unsigned char>(pair[1])))
                throw Syntax{"ERROR: Invalid value for REG_BINARY: \"" + o.data +
                             "\" is not hexadecimal."};
            v.bytes.push_back(static_cast<uint8_t>(std::stoi(pair, nullptr, 16)));
        }
    } else {
        throw Syntax{"ERROR: Invalid type \"" + o.type +
                     "\". Use REG_SZ, REG_DWORD or REG_BINARY."};
    }
    return v;
}

bool Confirm(std::ostream& out, std::istream& in, const std::string& question) {
    out << question << " (Yes/No)? " << std::flush;
    std::string answer;
    if (!std::getline(in, answer)) return false;
    answer = Upper(answer);
    return answer == "Y" || answer == "YES";
}

int Failure(std::ostream& err, RegResult r) {
    if (r == RegResult::NotFound) {
        err << kNotFoundText << "\n";
        return kNotFound;
    }
    err << "ERROR: " << platform::RegistryError() << "\n";
    return kFailed;
}

void QueryKey(std::ostream& out, const RegKey& key, bool recurse) {
    out << "\n" << kRoot << key.Path() << "\n";
    RegValue v;
    for (uint32_t i = 0; key.EnumValue(i, v) == RegResult::Ok; ++i)
        PrintValue(out, v);
    std::string sub;
    for (uint32_t i = 0; key.EnumKey(i, sub) == RegResult::Ok; ++i) {
        RegKey child;
        if (recurse && RegKey::Open(key.Path() + "\\" + sub, child) == RegResult::Ok)
            QueryKey(out, child, true);
        else if (!recurse)
            out << "\n" << kRoot << key.Path() << "\\" << sub;
    }
    if (!recurse) out << "\n";
}

int Query(const Options& o, std::ostream& out, std::ostream& err) {
    RegKey key;
    if (RegResult r = RegKey::Open(o.key, key); r != RegResult::Ok) return Failure(err, r);
    if (o.value) {
        RegValue v;
        if (RegResult r = key.Query(*o.value, v); r != RegResult::Ok) return Failure(err, r);
        out << "\n" << kRoot << key.Path() << "\n";
        PrintValue(out, v);
        out << "\n";
        return kOk;
    }
    QueryKey(out, key, o.recurse);
    return kOk;
}

int Add(const Options& o, std::ostream& out, std::ostream& err, std::istream& in) {
    std::optional<RegValue> value;
    if (o.value) value = MakeValue(o);
    RegKey key;
    if (RegResult r = RegKey::Create(o.key, key); r != RegResult::Ok) return Failure(err, r);
    if (value) {
        RegValue existing;
        if (!o.force && key.Query(value->name, existing) == RegResult::Ok &&
            !Confirm(out, in,
                     "Value " + (value->name.empty() ? std::string("(Default)") : value->name) +
                         " exists, overwrite")) {
            out << "The operation was cancelled by the user.\n";
            return kNotFound;
        }
        if (RegResult r = key.Set(*value); r != RegResult::Ok) return Failure(err, r);
    }
    out << "The operation completed successfully.\n";
    return kOk;
}

int Delete(const Options& o, std::ostream& out, std::ostream& err, std::istream& in) {
    RegKey key;
    if (RegResult r = RegKey::Open(o.key, key); r != RegResult::Ok) return Failure(err, r);
    std::string question =
        o.value ? "Delete the registry value " + (o.value->empty() ? "(Default)" : *o.value)
        : o.allValues
            ? "Delete all values under the registry key " + std::string(kRoot) + key.Path()
            : "Permanently delete the registry key " + std::string(kRoot) + key.Path();
    if (o.value) {
        RegValue v;
        if (RegResult r = key.Query(*o.value, v); r != RegResult::Ok) return Failure(err, r);
    }
    if (!o.force && !Confirm(out, in, question)) {
        out << "The operation was cancelled by the user.\n";
        return kNotFound;
    }
    RegResult r = RegResult::Ok;
    if (o.value) {
        r = key.DeleteValue(*o.value);
    } else if (o.allValues) {
        RegValue v;
        while (r == RegResult::Ok && key.EnumValue(0, v) == RegResult::Ok)
            r = key.DeleteValue(v.name);
    } else {
        r = RegKey::DeleteKey(o.key);
    }
    if (r != RegResult::Ok) return Failure(err, r);
    out << "The operation completed successfully.\n";
    return kOk;
}

void Usage(std::ostream& out) {
    out << "reg: the registry of the emulated device (HKEY_LOCAL_MACHINE)\n\n"
           "  reg query  KEY [/v NAME | /ve] [/s]\n"
           "  reg add    KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY] [/d DATA] [/f]\n"
           "  reg delete KEY [/v NAME | /ve | /va] [/f]\n\n"
           "KEY is HKLM\\path or HKEY_LOCAL_MACHINE\\path. /f overwrites or deletes without "
           "asking.\n"
           "Exit codes: 0 success, 1 not found (or declined), 2 invalid syntax, 3 the registry\n"
           "cannot be read or written (a damaged database, a lock held too long).\n";
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        std::istream& in) {
    if (args.size() == 1 && (args[0] == "/?" || args[0] == "-h" || args[0] == "--help")) {
        Usage(out);
        return kOk;
    }
    try {
        Options o = Parse(args);
        if (o.verb == "QUERY") return Query(o, out, err);
        if (o.verb == "ADD") return Add(o, out, err, in);
        return Delete(o, out, err, in);
    } catch (const Syntax& s) {
        err << s.message << "\n";
        return kSyntax;
    }
}

}  // namespace regtool
