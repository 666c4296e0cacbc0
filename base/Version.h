// The product's name and version, shared by the code and the resource
// scripts (plain macros, so that windres can read them too).
#pragma once

#define VSTORM_PRODUCT_NAME_A "Orvane Stormvale"
#define VSTORM_PRODUCT_NAME L"Orvane Stormvale"
#define VSTORM_MAKER_NAME_A "Orvane Games"
#define VSTORM_MAKER_NAME L"Orvane Games"
#define VSTORM_VERSION_MAJOR 1
#define VSTORM_VERSION_MINOR 15
#define VSTORM_VERSION_TEXT_A "1.15"
