// What the user is told when the settings store refused the confirmed choices.
#pragma once

#include "platform/registry/RegistryTypes.h"

#include <QString>

// The notification box's message: where the settings live, why they could not be written there,
// and that the choices hold until the program ends.
QString SettingsNotSavedText(const QString& where, platform::LSTATUS why);
