"""A third-party Modbus ASCII slave on a serial device, for the link's
end-to-end test. Prints "ready" once the device is open."""
import asyncio
import sys

from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.server import StartAsyncSerialServer
from pymodbus.transaction import ModbusAsciiFramer


async def main(port):
    store = ModbusSlaveContext(
        co=ModbusSequentialDataBlock(0, [1, 0, 1, 1, 0, 0, 0, 1] + [0] * 24),
        di=ModbusSequentialDataBlock(0, [0, 1, 0, 0, 0, 0, 0, 0, 1] + [0] * 23),
        hr=ModbusSequentialDataBlock(0, [0x1234, 0xABCD, 7] + [0] * 29),
        ir=ModbusSequentialDataBlock(0, [100, 200] + [0] * 30),
        zero_mode=True,
    )
    context = ModbusServerContext(slaves=store, single=True)
    server = await StartAsyncSerialServer(
        context=context, framer=ModbusAsciiFramer, port=port, baudrate=115200,
        broadcast_enable=False, defer_start=True)
    await server.start()
    print("ready", flush=True)
    await server.serve_forever()


asyncio.run(main(sys.argv[1]))
