"""A python3-pymodbus Modbus ASCII serial server for side-by-side latency.

Usage: pymodbus_ascii_server.py SERIAL_DEVICE
"""
import sys

from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.server import StartSerialServer
from pymodbus.transaction import ModbusAsciiFramer


def main():
    block = ModbusSequentialDataBlock(0, [0x0102] * 200)
    store = ModbusSlaveContext(hr=block, ir=block, zero_mode=True)
    context = ModbusServerContext(slaves=store, single=True)
    StartSerialServer(context=context, framer=ModbusAsciiFramer, port=sys.argv[1],
                      baudrate=115200)


if __name__ == "__main__":
    main()
