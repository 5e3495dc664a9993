namespace temla::korvu_sim {}
