#pragma once
// The viewers of the suite, looked up by program name (for the export tool and tests).

#include "viewerstartup.h"

#include <vector>

// All viewer definitions, in the order the suite introduces them.
const std::vector<const ViewerDefinition*>& allViewers();

// The viewer whose program name is program, or nullptr.
const ViewerDefinition* findViewer(const QString& program);
