#pragma once

#include <string>
#include <vector>

// The process font table: font files registered here can be drawn by the program for as
// long as they stay registered. Registration is counted per path, like the system table
// it replaces: a file registered twice needs two unregistrations.
class IFontTable {
public:
    virtual ~IFontTable() = default;
    // False when the file is refused (missing, unreadable, or not a font the toolkit takes).
    virtual bool Register(const std::string& path) = 0;
    // False when the path was not registered.
    virtual bool Unregister(const std::string& path) = 0;
    virtual bool IsRegistered(const std::string& path) const = 0;
    // Family names the toolkit gave the registered file; empty when not registered.
    virtual std::vector<std::string> Families(const std::string& path) const = 0;
};
