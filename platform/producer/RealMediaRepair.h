// Mends what the RealMedia muxer leaves out for RealAudio 1.0 sound: it writes every packet of
// such a stream at time 0 and gives the stream and the file no length. Used by the encode session
// on each finished output file.
#pragma once

#include <string>

// Stamps the packets of stream `stream` in the file's data chunk one after the other,
// `msPerPacket` apart from 0, and writes the stream's length into its header and, where longer,
// into the file's. False when the file cannot be read or is not laid out as expected.
bool StampRealMediaPackets(const std::string& path, int stream, int msPerPacket);
