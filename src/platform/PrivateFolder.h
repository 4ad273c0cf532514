#pragma once

#include <QFileDevice>
#include <QString>

namespace platform {

// Files and folders only their owner may open: the settings, anything holding a password, mail logs.
constexpr QFileDevice::Permissions ownerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Makes the folder and the missing folders above it, each one its owner's alone from the moment it is
// made (never made open and narrowed afterwards); folders already there are left as their owner made them.
// False with the system's reason when one cannot be made or a non-folder stands in the way.
bool makePrivateFolder(const QString& path, QString* error = nullptr);

} // namespace platform
