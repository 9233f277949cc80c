#pragma once

#include <QString>

// Where per-machine log and configuration folders are rooted.
class FolderSourceInterface
{
public:
    virtual ~FolderSourceInterface() = default;
    virtual QString logFolder() const = 0;
    virtual QString configFolder() const = 0;
};
