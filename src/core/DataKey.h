#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/cls_Crypt_RC4.h"

// The run-time key of the file signatures and of the shipped-data digests.
inline std::string DataKey;

// The one shared cipher, keyed with DataKey.
inline cls_Crypt_RC4 DataCipher;

// Seven characters of the lower-cased source at fixed positions, "-" fourth; nullopt when
// the source is too short to give all seven (a damaged System.dat).
std::optional<std::string> MakeDataKey(std::string_view source);
