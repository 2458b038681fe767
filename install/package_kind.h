// The two packages a run installs.
#pragma once

enum class PackageKind { Agent, PatchManagement };
