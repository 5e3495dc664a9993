namespace temla::korvu_sdk::wire {}
