// Placeholder until the Qt back-end lands.
#include <QApplication>

#include "platform/Backend.h"
#include "platform/headless/HeadlessBackend.h"
