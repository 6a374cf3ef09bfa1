// The error a skin step raises: a button face that cannot be opened or is not a bitmap,
// a whole file that cannot be read, a bad coordinate list. The skin loader lets it end
// the load; what was applied before stays applied.
#pragma once

#include <QString>
#include <stdexcept>

class TSkinError : public std::runtime_error {
public:
    explicit TSkinError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};
