#pragma once
// One change to the machine in structured form, as the plan shows it and the
// undo record keeps what it needs to take it back.
#include <cstdint>
#include <string>

#include "engine/ServiceCatalogue.h"
#include "engine/StepTag.h"
#include "platform/RegValue.h"
#include "platform/RegistryPath.h"

namespace quillon {

enum class EffectKind {
    SetValue,      // key, name, data; creates the key (and its parents) when missing
    DeleteValue,   // key, name
    CreateKey,     // key, with its parents
    DeleteKey,     // key, with everything below it
    CopyKey,       // key (source) to destination, the subkeys too when recursive
    ServiceStart,  // target: service name; startMode
    DeleteFile,    // target: path
    RemoveFolder,  // target: path of an empty folder
    CreateFolder,  // target: path
    CopyFile,      // source to target; never replaces a file
    RunTool,       // target: a command line whose effect cannot be read back
};

struct Effect {
    EffectKind kind = EffectKind::RunTool;
    std::string target;       // normalised key, service name, path or command line
    std::string name;         // value name
    RegValue data;            // SetValue
    std::string destination;  // CopyKey: destination key; CopyFile: the file copied from
    std::uint32_t startMode = 0;  // ServiceStart: 0 boot .. 4 disabled
    bool recursive = false;   // CopyKey
    // CreateKey by `reg add KEY`: the key's default value is left empty, one it
    // finds as well as one it makes (Wine's reg does; not every version does).
    bool emptiesDefault = false;
    // The registry view of the key it changes (a copy's destination), as the
    // tool that changes it opens that key; its path is the key's native path.
    RegView view = RegView::Native;
    bool operator==(const Effect&) const = default;
};

// The service whose start mode key\name is ("" when it is none).
std::string ServiceOfStartValue(const std::string& key, const std::string& name);

// "boot", "system", "auto", "demand", "disabled"; empty for any other number.
std::string StartModeName(std::uint32_t mode);

}  // namespace quillon
