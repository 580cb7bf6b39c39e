// How the USB stand-in (wd_utils.dll) and the phone simulator talk over
// loopback TCP in place of a USB bus. One connection is one bus port:
//  - the simulator greets every connection with one byte: PortEmpty, or
//    PortPlugged followed by the device's vendor id, product id (16-bit,
//    low byte first) and interface number;
//  - an empty port can later get PortPlugged and the device bytes (a phone
//    plugged in); the stand-in answers a plug with one byte, PortTaken or
//    PortRefused, once its attach callback has returned;
//  - after that, the stream from the stand-in is the bulk-out pipe and the
//    stream from the simulator the bulk-in pipe; closing the connection is
//    unplugging the phone.
// The stand-in keeps one empty port connected beside each plugged one, so a
// second phone can be plugged while the first is.
#pragma once

#include <cstdint>

constexpr const char* StandinHost = "127.0.0.1";
constexpr uint16_t StandinDefaultPort = 47611;
// Environment variable that overrides the port (tests run several simulators).
constexpr const char* StandinPortVariable = "QV_WDU_PORT";

constexpr uint8_t PortEmpty = 'E';
constexpr uint8_t PortPlugged = 'P';
constexpr uint8_t PortTaken = 'T';
constexpr uint8_t PortRefused = 'R';
constexpr int PlugMessageSize = 6;  // PortPlugged, vendor id, product id, interface number
