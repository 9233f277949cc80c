#pragma once

#include "core/FolderSourceInterface.h"
#include "core/PcInfoProviderInterface.h"
#include "core/SystemNetInfoInterface.h"

#include <QMutex>
#include <QString>

#include <memory>

// Keeps the machine name and address read once from a PcInfoProviderInterface and puts the
// log and configuration folders of a remote session under the remote client's name, so that
// thin clients sharing one server do not share files.
class SystemNetInfo : public Brindlecore::Core::SystemNetInfoInterface
{
public:
    static inline const QString EntryName = QStringLiteral("systemNetInfo");

    // Reads the address and the name at once; the provider's exceptions pass to the caller.
    // folders may be null (then ./logs and ./config); it is not owned.
    SystemNetInfo(std::unique_ptr<PcInfoProviderInterface> provider,
                  const FolderSourceInterface *folders);

    QString entryName() const override { return EntryName; }
    QString address() const override;
    void setAddress(const QString &address) override;
    QString name() const override;
    void setName(const QString &name) override;
    QString logFolder() const override;
    QString configFolder() const override;

private:
    QString perMachine(const QString &base) const;

    QString m_address;
    QString m_name;
    std::unique_ptr<PcInfoProviderInterface> m_provider;
    const FolderSourceInterface *m_folders;
    mutable QMutex m_mutex;
};
