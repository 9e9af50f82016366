#include "records/RecordStore.h"
#include "storage/Sqlite.h"
#include <QString>
