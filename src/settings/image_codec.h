#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "settings/field_codec.h"
#include "settings/memory_map.h"
#include "settings/settings_image.h"

namespace zelar {

// Every field of the settings memory that the image holds, with its place and coding. Reading
// and writing both work from this one table.
const std::vector<Field<TSettingsImage>>& imageFields();

// Sets the image's fields that lie inside `block` from that block's V17 payload. A payload
// shorter than the block is refused (false) and leaves the image untouched.
bool decodeImageBlock(MemoryBlock block, std::span<const std::uint8_t> payload,
                      TSettingsImage& image);

// Whether the region's data comes from the image (the others come from the screen).
bool isImageRegion(SettingsRegion region);

// The data of region instance k from the image. Nothing for a region not held in the image,
// an instance out of range, or a text too long for its field.
std::optional<std::vector<std::uint8_t>> encodeRegion(SettingsRegion region, int k,
                                                      const TSettingsImage& image);

// The address and data of the V16 write of region instance k; nothing as for encodeRegion.
std::optional<RegionWrite> ComposeRegionWrite(SettingsRegion region, int k,
                                              const TSettingsImage& image);

}  // namespace zelar
