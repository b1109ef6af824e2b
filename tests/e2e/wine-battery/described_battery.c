/* A battery device for tests: it registers a battery-class device interface and answers the battery
 * class requests as a battery miniclass driver would, from values the test writes into the
 * Parameters key of the driver's service. The values are read anew for every request, so a test
 * can change the battery between two requests. A Tag of 0 or none means an empty battery slot. */
#include <ddk/wdm.h>
#include <initguid.h>
#include <poclass.h>

typedef struct {
  DEVICE_OBJECT* lower;
  UNICODE_STRING interface_name;
} DeviceExtension;

/* The Parameters key of this driver's service: "<registry path>\Parameters". */
static UNICODE_STRING parameters_path;

/* The key that describes the battery, opened for one request. */
static BOOLEAN open_description(HANDLE* description) {
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &parameters_path, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL,
                             NULL);
  return NT_SUCCESS(ZwOpenKey(description, KEY_READ, &attributes));
}

/* The raw data of a value of the given type, at most `size` bytes into `data`; the count of bytes
 * read, or -1 when the value is missing, of another type or too large. */
static LONG read_value(HANDLE description, const WCHAR* name, ULONG type, void* data, ULONG size) {
  UCHAR buffer[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + 256];
  KEY_VALUE_PARTIAL_INFORMATION* value = (KEY_VALUE_PARTIAL_INFORMATION*)buffer;
  UNICODE_STRING value_name;
  ULONG length = 0;
  RtlInitUnicodeString(&value_name, name);
  if (!NT_SUCCESS(ZwQueryValueKey(description, &value_name, KeyValuePartialInformation, buffer, sizeof buffer,
                                  &length)) ||
      value->Type != type || value->DataLength > size) {
    return -1;
  }
  RtlCopyMemory(data, value->Data, value->DataLength);
  return (LONG)value->DataLength;
}

/* A REG_DWORD value; 0 when it is missing. */
static ULONG read_number(HANDLE description, const WCHAR* name) {
  ULONG number = 0;
  if (read_value(description, name, REG_DWORD, &number, sizeof number) != sizeof number) {
    number = 0;
  }
  return number;
}

static NTSTATUS complete(IRP* irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

/* The tag names the battery now in the slot; a request with another tag is for a battery that has
 * gone. */
static BOOLEAN tag_matches(HANDLE description, ULONG tag) {
  return tag != BATTERY_TAG_INVALID && tag == read_number(description, L"Tag");
}

static NTSTATUS query_tag(HANDLE description, IRP* irp, ULONG out_size) {
  ULONG tag = read_number(description, L"Tag");
  if (out_size < sizeof tag) {
    return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
  }
  if (tag == BATTERY_TAG_INVALID) {
    return complete(irp, STATUS_NO_SUCH_DEVICE, 0);
  }
  RtlCopyMemory(irp->AssociatedIrp.SystemBuffer, &tag, sizeof tag);
  return complete(irp, STATUS_SUCCESS, sizeof tag);
}

static NTSTATUS query_battery_information(HANDLE description, IRP* irp, ULONG out_size) {
  BATTERY_INFORMATION info;
  WCHAR chemistry[5] = {0};
  ULONG i;
  if (out_size < sizeof info) {
    return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
  }
  RtlZeroMemory(&info, sizeof info);
  info.Capabilities = read_number(description, L"Capabilities");
  info.Technology = (UCHAR)read_number(description, L"Technology");
  /* Four characters at most, each one byte, as the battery reports it. */
  read_value(description, L"Chemistry", REG_SZ, chemistry, sizeof chemistry);
  for (i = 0; i < 4; ++i) {
    info.Chemistry[i] = (UCHAR)chemistry[i];
  }
  info.DesignedCapacity = read_number(description, L"DesignedCapacity");
  info.FullChargedCapacity = read_number(description, L"FullChargedCapacity");
  info.DefaultAlert1 = read_number(description, L"DefaultAlert1");
  info.DefaultAlert2 = read_number(description, L"DefaultAlert2");
  info.CriticalBias = read_number(description, L"CriticalBias");
  info.CycleCount = read_number(description, L"CycleCount");
  RtlCopyMemory(irp->AssociatedIrp.SystemBuffer, &info, sizeof info);
  return complete(irp, STATUS_SUCCESS, sizeof info);
}

/* A text level: the zero-terminated UTF-16 text, or a failure when the battery has none. */
static NTSTATUS query_text(HANDLE description, const WCHAR* name, IRP* irp, ULONG out_size) {
  WCHAR text[MAX_BATTERY_STRING_SIZE + 1];
  LONG size = read_value(description, name, REG_SZ, text, sizeof text - sizeof(WCHAR));
  ULONG length;
  if (size < 0) {
    return complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
  }
  text[size / sizeof(WCHAR)] = 0;
  length = (ULONG)(wcslen(text) + 1) * sizeof(WCHAR);
  if (out_size < length) {
    return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
  }
  RtlCopyMemory(irp->AssociatedIrp.SystemBuffer, text, length);
  return complete(irp, STATUS_SUCCESS, length);
}

static NTSTATUS query_information(HANDLE description, IRP* irp, ULONG in_size, ULONG out_size) {
  BATTERY_QUERY_INFORMATION request;
  if (in_size < sizeof request) {
    return complete(irp, STATUS_INVALID_PARAMETER, 0);
  }
  RtlCopyMemory(&request, irp->AssociatedIrp.SystemBuffer, sizeof request);
  if (!tag_matches(description, request.BatteryTag)) {
    return complete(irp, STATUS_NO_SUCH_DEVICE, 0);
  }
  switch (request.InformationLevel) {
    case BatteryInformation:
      return query_battery_information(description, irp, out_size);
    case BatteryManufactureName:
      return query_text(description, L"ManufactureName", irp, out_size);
    case BatteryUniqueID:
      return query_text(description, L"UniqueID", irp, out_size);
    default:
      return complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
  }
}

/* The status at once, as the battery class gives it when the battery's power state or capacity
 * already differs from the caller's wait block: a battery with charge left is above a HighCapacity
 * of 0. */
static NTSTATUS query_status(HANDLE description, IRP* irp, ULONG in_size, ULONG out_size) {
  BATTERY_WAIT_STATUS wait;
  BATTERY_STATUS status;
  if (in_size < sizeof wait) {
    return complete(irp, STATUS_INVALID_PARAMETER, 0);
  }
  if (out_size < sizeof status) {
    return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
  }
  RtlCopyMemory(&wait, irp->AssociatedIrp.SystemBuffer, sizeof wait);
  if (!tag_matches(description, wait.BatteryTag)) {
    return complete(irp, STATUS_NO_SUCH_DEVICE, 0);
  }
  status.PowerState = read_number(description, L"PowerState");
  status.Capacity = read_number(description, L"Capacity");
  status.Voltage = read_number(description, L"Voltage");
  status.Rate = (LONG)read_number(description, L"Rate");
  RtlCopyMemory(irp->AssociatedIrp.SystemBuffer, &status, sizeof status);
  return complete(irp, STATUS_SUCCESS, sizeof status);
}

static NTSTATUS NTAPI dispatch_device_control(DEVICE_OBJECT* device, IRP* irp) {
  const IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  const ULONG in_size = stack->Parameters.DeviceIoControl.InputBufferLength;
  const ULONG out_size = stack->Parameters.DeviceIoControl.OutputBufferLength;
  HANDLE description;
  NTSTATUS status;
  (void)device;
  if (!open_description(&description)) {
    return complete(irp, STATUS_NO_SUCH_DEVICE, 0);
  }
  switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case IOCTL_BATTERY_QUERY_TAG:
      status = query_tag(description, irp, out_size);
      break;
    case IOCTL_BATTERY_QUERY_INFORMATION:
      status = query_information(description, irp, in_size, out_size);
      break;
    case IOCTL_BATTERY_QUERY_STATUS:
      status = query_status(description, irp, in_size, out_size);
      break;
    default:
      status = complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
      break;
  }
  ZwClose(description);
  return status;
}

static NTSTATUS NTAPI dispatch_create_close(DEVICE_OBJECT* device, IRP* irp) {
  (void)device;
  return complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI dispatch_pnp(DEVICE_OBJECT* device, IRP* irp) {
  DeviceExtension* extension = device->DeviceExtension;
  DEVICE_OBJECT* lower = extension->lower;
  NTSTATUS status;
  switch (IoGetCurrentIrpStackLocation(irp)->MinorFunction) {
    case IRP_MN_START_DEVICE:
      IoSetDeviceInterfaceState(&extension->interface_name, TRUE);
      irp->IoStatus.Status = STATUS_SUCCESS;
      break;
    case IRP_MN_SURPRISE_REMOVAL:
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_STOP_DEVICE:
      irp->IoStatus.Status = STATUS_SUCCESS;
      break;
    case IRP_MN_REMOVE_DEVICE:
      IoSetDeviceInterfaceState(&extension->interface_name, FALSE);
      irp->IoStatus.Status = STATUS_SUCCESS;
      IoSkipCurrentIrpStackLocation(irp);
      status = IoCallDriver(lower, irp);
      RtlFreeUnicodeString(&extension->interface_name);
      IoDetachDevice(lower);
      IoDeleteDevice(device);
      return status;
    default:
      break;
  }
  IoSkipCurrentIrpStackLocation(irp);
  return IoCallDriver(lower, irp);
}

static NTSTATUS NTAPI add_device(DRIVER_OBJECT* driver, DEVICE_OBJECT* pdo) {
  DEVICE_OBJECT* device;
  DeviceExtension* extension;
  NTSTATUS status = IoCreateDevice(driver, sizeof(DeviceExtension), NULL, FILE_DEVICE_BATTERY,
                                   FILE_DEVICE_SECURE_OPEN, FALSE, &device);
  if (!NT_SUCCESS(status)) {
    return status;
  }
  extension = device->DeviceExtension;
  RtlZeroMemory(extension, sizeof *extension);
  status = IoRegisterDeviceInterface(pdo, &GUID_DEVICE_BATTERY, NULL, &extension->interface_name);
  if (!NT_SUCCESS(status)) {
    IoDeleteDevice(device);
    return status;
  }
  extension->lower = IoAttachDeviceToDeviceStack(device, pdo);
  device->Flags |= DO_BUFFERED_IO;
  device->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

static void NTAPI unload(DRIVER_OBJECT* driver) {
  (void)driver;
  ExFreePool(parameters_path.Buffer);
}

NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registry_path) {
  static const WCHAR suffix[] = L"\\Parameters";
  parameters_path.MaximumLength = (USHORT)(registry_path->Length + sizeof suffix);
  parameters_path.Buffer = ExAllocatePool(PagedPool, parameters_path.MaximumLength);
  if (parameters_path.Buffer == NULL) {
    return STATUS_NO_MEMORY;
  }
  RtlCopyUnicodeString(&parameters_path, registry_path);
  RtlAppendUnicodeToString(&parameters_path, suffix);

  driver->DriverExtension->AddDevice = add_device;
  driver->DriverUnload = unload;
  driver->MajorFunction[IRP_MJ_CREATE] = dispatch_create_close;
  driver->MajorFunction[IRP_MJ_CLEANUP] = dispatch_create_close;
  driver->MajorFunction[IRP_MJ_CLOSE] = dispatch_create_close;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = dispatch_device_control;
  driver->MajorFunction[IRP_MJ_PNP] = dispatch_pnp;
  return STATUS_SUCCESS;
}
