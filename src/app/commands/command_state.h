#pragma once

class QActionGroup;
class QVariant;

// Checks the group's action carrying `value`; a value no action carries changes nothing.
bool checkActionWithData(QActionGroup* group, const QVariant& value);
