"""Drives ulm5-sim with a third-party Modbus ASCII master (python3-pymodbus).

Usage: pymodbus_interop.py PATH_TO_ULM5_SIM
"""
import os
import signal
import subprocess
import sys
import tempfile

from pymodbus.client import ModbusSerialClient
from pymodbus.transaction import ModbusAsciiFramer


def fail(text):
    print("FAIL: " + text)
    sys.exit(1)


def main():
    program = sys.argv[1]
    link = os.path.join(tempfile.mkdtemp(prefix="ulm5_sim_"), "COM1")
    sim = subprocess.Popen([program, "--link", link], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, text=True)
    try:
        # The first output line is the device path: the simulator is serving.
        if sim.stdout.readline().strip() != link:
            fail("no device path from ulm5-sim")
        client = ModbusSerialClient(port=link, framer=ModbusAsciiFramer, baudrate=115200,
                                    timeout=1, retries=0)
        if not client.connect():
            fail("cannot open " + link)

        # Identification: the register values are the byte pairs read high
        # byte first, so register 125 holds the type code 7 in its high byte.
        rr = client.read_holding_registers(120, 6, slave=0)
        if rr.isError():
            fail("identification read: %s" % rr)
        if (rr.registers[5] >> 8) != 7:
            fail("type code: %s" % rr.registers)
        if rr.registers[4] != 0x0C00:
            fail("version 12 expected as bytes 0C 00: %s" % rr.registers)

        # A write followed by a read of the same register.
        wr = client.write_registers(3, [0x0207], slave=0)
        if wr.isError():
            fail("write: %s" % wr)
        rr = client.read_holding_registers(3, 1, slave=0)
        if rr.isError() or rr.registers != [0x0207]:
            fail("read back: %s" % rr)

        rr = client.read_input_registers(0, 13, slave=0)
        if rr.isError() or len(rr.registers) != 13:
            fail("current data: %s" % rr)
        coils = client.read_coils(0, 4, slave=0)
        if coils.isError() or len(coils.bits) < 4:
            fail("coils: %s" % coils)

        # The clock block is write only: exception 02h.
        rr = client.read_holding_registers(4000, 4, slave=0)
        if not rr.isError() or getattr(rr, "exception_code", None) != 2:
            fail("exception 02h expected: %s" % rr)
        # The instrument answers again after the exception.
        rr = client.read_holding_registers(120, 6, slave=0)
        if rr.isError():
            fail("read after exception: %s" % rr)
        client.close()
    finally:
        sim.send_signal(signal.SIGINT)
        code = sim.wait(timeout=10)
    if code != 0:
        fail("ulm5-sim exit code %d" % code)
    print("pymodbus interoperability: ok")


if __name__ == "__main__":
    main()
