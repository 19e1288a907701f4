#pragma once
// Resource identifiers, shared by the resource scripts and the code.

#define IDD_TEXT_WINDOW 101
#define IDR_USAGE_PLAIN 130
#define IDR_USAGE_RICH 131
#define IDI_HIVESCOUT 133
#define IDC_TEXT_AREA 1003

// The usage texts' resource type, a name rather than a number.
#define USAGE_RESOURCE_TYPE USAGE

#ifndef RC_INVOKED
// The type as the resource functions take it: L"USAGE".
#define USAGE_RESOURCE_TYPE_NAME RESOURCE_NAME_WIDE(USAGE_RESOURCE_TYPE)
#define RESOURCE_NAME_WIDE(name) RESOURCE_NAME_WIDE_TEXT(name)
#define RESOURCE_NAME_WIDE_TEXT(name) L## #name
#endif
