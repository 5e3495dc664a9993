-- pick and place
-- Runs on the simulator's first robot: send it with RobotProxy::sendScript (or the script
-- channel's sendString), or from a scenario event {"at": 1, "program": {"text": "..."}}.

home = {0, -1.5708, 0, -1.5708, 0, 0}
approach = {0.4, -1.2, 0.6, -1.9, -1.5708, 0}

set_tcp({0, 0, 0.12, 0, 0, 0})       -- gripper fingertip
set_payload(0.8, {0, 0, 0.05})
movej(home, 3.0, 8.0)                 -- home

for cycle = 1, 2 do
  movej(approach, 3.0, 8.0)           -- approach
  pose = get_actual_tcp_pose()
  pose[3] = pose[3] - 0.05
  movel(pose, 0.25, 2.0)              -- down to the part
  set_digital_out(0, true)            -- close the gripper
  sleep(0.1)
  pose[3] = pose[3] + 0.05
  movel(pose, 0.25, 2.0)              -- lift
  textmsg("cycle", cycle, "done")
end

set_digital_out(0, false)
movej(home, 3.0, 8.0)
popup("Two parts placed", "Pick and place", 0)
