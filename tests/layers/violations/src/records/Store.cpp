#include "storage/Database.h"
#include <QDialog>
