#pragma once
// The installer's requirements checked over a build plan, before anything
// is written: the plan is summarised (reading the first bytes of the picture
// and, for a ready-made data file, its directory) and handed to the rules.
#include <string>

#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/package_plan.h"

DataFacts factsOfDataPlan(const DataPlan& plan);
PackageFacts factsOfPlan(const PackagePlan& plan, const std::string& displayName);
void checkPlan(const PackagePlan& plan, const std::string& displayName, Diagnostics& out);
