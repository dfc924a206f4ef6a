// The device's parameter layouts: the second-generation parameter frame in its two shapes and the
// extended device's 438-byte parameter block, in both directions (answers out, writes in).
#pragma once

#include <cstddef>
#include <cstdint>

#include "device.h"
#include "wire.h"

namespace vksim {

// Size of the model's parameter frame: 158 bytes single-port, 94 + 54 n multi-port.
size_t ParameterFrameSize(const ModelInfo& model);

// The parameter frame of a second-generation device with `command` and `tag` in its header, payload
// scrambled from byte 12, checksum last.
Bytes ParameterFrame(const Device& d, uint8_t command, uint8_t tag);

// Takes the settings of a parameter frame whose payload is already unscrambled. The device keeps its
// own MAC and firmware version.
void ApplyParameterFrame(Device& d, const Bytes& plain_frame);

// The extended device's parameter block: `extended_block` with the device's fields laid over it.
Bytes ExtendedBlock(const Device& d);

// Stores a written block: its bytes are kept, its fields become the device's settings (MAC and
// firmware version stay the device's own).
void ApplyExtendedBlock(Device& d, const Bytes& block);

// A block with the time-service settings a new extended device starts with.
Bytes DefaultExtendedBlock();

// The extended device's answer to SEARCH: 42-byte header, 360-byte plain payload, checksum.
Bytes ExtendedSearchAnswer(const Device& d);

// The extended device's answer to READ / READ_BY_MAC: the request's command and tag, then the block
// plain from byte 42, then the checksum.
Bytes ExtendedReadAnswer(const Device& d, uint8_t command, uint8_t tag);

}  // namespace vksim
