#include "app/Application.h"
#include <QWidget>
