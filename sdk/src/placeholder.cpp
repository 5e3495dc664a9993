namespace temla::korvu_sdk {}
