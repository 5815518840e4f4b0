// The gate over one date value of the recorder's key.
#include "recorder/update/DateGate.h"

#include "platform/decimal/Decimal.h"
#include "recorder/settings/SettingsValues.h"

#include <algorithm>

namespace {
constexpr int kMaxWaitingDays = 3650;
}

int DateNumber(const QDate& date) {
    return DecimalValue(date.toString(QStringLiteral("yyyyMMdd")).toStdString());
}

bool DateGateDue(const std::string& valueName, const QDate& today, const StoredSettings& stored) {
    std::string date;
    ReadSettingString(valueName, date, stored);
    return DecimalValue(date) < DateNumber(today);
}

int RunDateGate(const std::string& valueName, const QDate& today, const std::function<int()>& waitingDays) {
    if (!DateGateDue(valueName, today))
        return 0;
    const int days = std::clamp(waitingDays(), 0, kMaxWaitingDays);
    WriteSettingString(valueName, today.addDays(days).toString(QStringLiteral("yyyyMMdd")).toStdString());
    return 1;
}
